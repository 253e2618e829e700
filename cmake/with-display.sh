#!/bin/bash
# Runs a command on an X display: the shared display of the test run when SETUP_DISPLAY_STATE names a
# live one (see display-fixture.sh), otherwise a private Xvfb of its own that is stopped afterwards.
# Used by the window tests and by `make run` on machines without a display.
set -u
if [ -n "${SETUP_DISPLAY_STATE:-}" ] && [ -f "$SETUP_DISPLAY_STATE" ]; then
  read -r num pid <"$SETUP_DISPLAY_STATE"
  if kill -0 "$pid" 2>/dev/null; then
    export DISPLAY=":$num"
    exec "$@"
  fi
fi
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
[ -n "${WINEPREFIX:-}" ] && timeout 20 wineserver -w 2>/dev/null
kill $xpid 2>/dev/null
wait $xpid 2>/dev/null
exit $rc
