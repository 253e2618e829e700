#!/bin/bash
# display-fixture.sh start|stop|alive STATEFILE [WINEPREFIX]: one Xvfb display shared by every window
# test of a ctest run (the state file holds its number and process).
# Window tests share it (and so Wine's one virtual desktop of the prefix): a display per test would
# leave the desktop process of the prefix on a server that is gone when the next test starts.
set -u
state="$2"
case "$1" in
alive)
  [ -f "$state" ] || exit 1
  read -r num pid <"$state"
  kill -0 "$pid" 2>/dev/null || exit 1
  ;;
start)
  if [ -f "$state" ]; then
    read -r num pid <"$state"
    if kill -0 "$pid" 2>/dev/null; then exit 0; fi
  fi
  fifo=$(mktemp -u /tmp/xvfb-fd.XXXXXX)
  mkfifo "$fifo"
  setsid Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$fifo" </dev/null >/dev/null 2>&1 &
  pid=$!
  read -r -t 20 num <"$fifo"
  rm -f "$fifo"
  [ -n "${num:-}" ] || { echo "display-fixture: Xvfb did not start" >&2; exit 1; }
  echo "$num $pid" >"$state"
  ;;
stop)
  [ -f "$state" ] || exit 0
  read -r num pid <"$state"
  rm -f "$state"
  # Let the prefix's Wine processes end before their display goes away.
  if [ -n "${3:-}" ]; then WINEPREFIX="$3" timeout 20 wineserver -w 2>/dev/null || true; fi
  kill "$pid" 2>/dev/null || true
  ;;
esac
exit 0
