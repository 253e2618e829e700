#!/usr/bin/env bash
# zip_bench.sh: extraction speed of UnZip32.DLL's reader against Info-ZIP's unzip, in the same run.
# Makes a ~200 MB archive of ~2,000 files with the real zip tool in build/bench/zip (kept for later
# runs), builds the reader's command-line driver optimised and without sanitizers, extracts the
# archive with both (best of several rounds, page cache warm) and prints MB/s and the ratio.
#   tools/bench/zip_bench.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$root/build/bench/zip
rounds=${1:-3}
mkdir -p "$work"
cd "$work"

# The reader, built as it ships: optimised, no sanitizers (the release bench build).
cmake --build "$root/build/bench" -j "${JOBS:-2}" --target unzipcheck > /dev/null
cp "$root/build/bench/src/unzip32/unzipcheck" unzipcheck

# 2,000 files in 40 folders, 10 to 190 KB each: two thirds text, one third measurement-like binary.
if [ ! -f data.zip ]; then
  rm -rf tree
  python3 - <<'PY'
import os, random, struct
rnd = random.Random(6)
words = [''.join(rnd.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rnd.randint(2, 9))) for _ in range(3000)]
text = ' '.join(rnd.choice(words) + ('\r\n' if rnd.random() < 0.1 else '') for _ in range(300000)).encode()
level, samples = 0, []
for _ in range(600000):
    level = max(-32768, min(32767, level + rnd.randint(-300, 300)))
    samples.append(level)
binary = struct.pack('<%dh' % len(samples), *samples)
for i in range(2000):
    folder = 'tree/set%02d/run%d' % (i % 20, i % 2)
    os.makedirs(folder, exist_ok=True)
    pool = text if i % 3 else binary
    size = rnd.randint(10000, 190000)
    start = rnd.randint(0, len(pool) - size)
    with open('%s/file%04d.%s' % (folder, i, 'txt' if i % 3 else 'dat'), 'wb') as f:
        f.write(pool[start:start + size])
PY
  (cd tree && zip -q -r ../data.zip .)
fi
bytes=$(unzip -Zt data.zip | sed -n 's/.* \([0-9]*\) bytes uncompressed.*/\1/p')
files=$(unzip -Z1 data.zip | grep -vc '/$')
echo "archive: $(du -m data.zip | cut -f1) MB, $files files, $((bytes / 1000000)) MB unpacked"
cat data.zip > /dev/null

source "$root/tools/bench/best_time.sh"
before_run() { rm -rf out; sync; } # each extraction into an empty out/
ours=$(best ./unzipcheck -q data.zip out)
diff -rq tree out > /dev/null || { echo "the reader's output differs from the tree"; exit 1; }
theirs=$(best unzip -q -o data.zip -d out)
rm -rf out
awk -v n="$bytes" -v o="$ours" -v u="$theirs" 'BEGIN {
  printf "reader: %6.3f s  %6.1f MB/s\n", o, n / o / 1e6
  printf "unzip:  %6.3f s  %6.1f MB/s\n", u, n / u / 1e6
  printf "ratio (reader / unzip throughput): %.2f\n", u / o
}'
