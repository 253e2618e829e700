#!/bin/bash
# Runs a command with a private Xvfb display of its own (Xvfb picks a free number), then stops the server.
# Used by the window tests and by `make run` on machines without a display.
set -u
fifo=$(mktemp -u /tmp/xvfb-fd.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$fifo" >/dev/null 2>&1 &
xpid=$!
read -r -t 20 num <"$fifo"
rm -f "$fifo"
if [ -z "${num:-}" ]; then echo "with-display: Xvfb did not start" >&2; kill $xpid 2>/dev/null; exit 1; fi
export DISPLAY=":$num"
"$@"
rc=$?
kill $xpid 2>/dev/null
wait $xpid 2>/dev/null
exit $rc
