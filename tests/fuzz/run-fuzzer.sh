#!/bin/sh
# run-fuzzer.sh FUZZER CORPUS WORK SECONDS: replays the committed corpus (crashes found earlier stay
# fixed), then fuzzes for a bounded time with a scratch corpus seeded from it.
set -e
fuzzer="$1"; corpus="$2"; work="$3"; seconds="$4"
mkdir -p "$work"
if [ -d "$corpus" ] && [ -n "$(ls -A "$corpus" 2>/dev/null)" ]; then
  "$fuzzer" -runs=0 "$corpus"
  cp -n "$corpus"/* "$work"/ 2>/dev/null || true
fi
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
     -artifact_prefix="$work/" "$work"
