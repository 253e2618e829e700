#!/usr/bin/env bash
# http_bench.sh: download speed of the program's HTTP client (under Wine) against curl, from the same
# loopback server in the same run. Serves a 500 MB file from build/bench/http with the demo's site
# server, fetches it with both (best of several rounds), checks the bytes, and prints MB/s, the ratio
# and the longest gap in the client's message pump during the transfer (how late a Break is answered).
#   tools/bench/http_bench.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$root/build/bench/http
rounds=${1:-3}
bench=$root/build/win32/tools/bench/httpbench.exe
[ -x "$root/build/win32/wine-run.sh" ] || { echo "http_bench: build the Windows build first" >&2; exit 1; }
cmake --build "$root/build/win32" --target httpbench > /dev/null
mkdir -p "$work/site"
cd "$work"
size=$((500 * 1024 * 1024))
[ "$(stat -c %s site/big.bin 2>/dev/null || echo 0)" = "$size" ] ||
  head -c "$size" /dev/urandom > site/big.bin
cat site/big.bin > /dev/null

rm -f port
python3 "$root/tools/demo/serve-site.py" site port &
server=$!
trap 'kill $server 2>/dev/null || true; rm -f out.bin out.bin.head' EXIT
for _ in $(seq 50); do [ -s port ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat port)/big.bin"
out=$work/out.bin
winout="Z:${out//\//\\}"

ours=0 theirs=0 gap=0
for _ in $(seq "$rounds"); do
  rm -f out.bin
  read -r bytes ms longest < <("$root/cmake/with-display.sh" "$root/build/win32/wine-run.sh" "$bench" "$url" "$winout" 2>/dev/null | tr -d "\r")
  [ "$bytes" = "$size" ] && cmp -s out.bin site/big.bin || { echo "http_bench: the client's file differs" >&2; exit 1; }
  ours=$(awk -v b="$ours" -v t="$ms" 'BEGIN { t /= 1000; print (b == 0 || t < b) ? t : b }')
  gap=$((longest > gap ? longest : gap))
  rm -f out.bin
  t=$(curl -s -o out.bin -w '%{time_total}' "$url")
  cmp -s out.bin site/big.bin || { echo "http_bench: curl's file differs" >&2; exit 1; }
  theirs=$(awk -v b="$theirs" -v t="$t" 'BEGIN { print (b == 0 || t < b) ? t : b }')
done
awk -v n="$size" -v o="$ours" -v c="$theirs" -v g="$gap" 'BEGIN {
  printf "client: %6.3f s  %6.1f MB/s  (longest message gap %d ms)\n", o, n / o / 1e6, g
  printf "curl:   %6.3f s  %6.1f MB/s\n", c, n / c / 1e6
  printf "ratio (client / curl throughput): %.2f\n", c / o
}'
