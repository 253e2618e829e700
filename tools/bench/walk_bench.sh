#!/usr/bin/env bash
# walk_bench.sh: ListFiles with subdirectories over a tree of 100,000 files in 1,000 folders, against
# `find TREE -type f` on the same tree in the same run: natively (the walker built optimised, without
# sanitizers) and under Wine, where the explorer also lists the tree and reports the longest time its
# window went without processing messages.
#   tools/bench/walk_bench.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$root/build/bench/walk
rounds=${1:-3}
mkdir -p "$work"

# 10 groups of 100 folders, 100 small files in each folder (kept for later runs).
if [ ! -f "$work/tree/.done" ]; then
  rm -rf "$work/tree"
  python3 - "$work/tree" <<'PY'
import os, sys
top = sys.argv[1]
for g in range(10):
    for d in range(100):
        folder = os.path.join(top, 'G%02d' % g, 'RUN%03d' % d)
        os.makedirs(folder)
        for f in range(100):
            with open(os.path.join(folder, 'M%03d.K%02d' % (f, g)), 'wb') as out:
                out.write(b'x')
PY
  touch "$work/tree/.done"
fi

source "$root/tools/bench/best_time.sh"

cmake --build "$root/build/bench" -j "${JOBS:-2}" --target walkbench > /dev/null
find "$work/tree" -type f > /dev/null # page cache warm
files=$(find "$work/tree" -type f | wc -l)
theirs=$(best find "$work/tree" -type f)
ours=$("$root/build/bench/tools/bench/walkbench" "$work/tree" "$rounds" | sed -n 's/.* in \([0-9.]*\) s/\1/p')
echo "tree: $files files (the .done marker included)"
awk -v o="$ours" -v f="$theirs" 'BEGIN {
  printf "native ListFiles: %6.3f s\nfind -type f:     %6.3f s\nratio (ListFiles / find): %.2f\n", o, f, o / f
}'

# Under Wine: the same tree as Wine's drive Z: shows it.
win32=$root/build/win32
cmake --build "$win32" -j "${JOBS:-2}" --target walkbench > /dev/null
"$root/cmake/with-display.sh" "$win32/wine-run.sh" "$win32/tools/bench/walkbench.exe" \
  "Z:$(echo "$work/tree" | tr / '\\')" "$rounds" --explorer | sed 's/^walk:/Wine ListFiles:/'
