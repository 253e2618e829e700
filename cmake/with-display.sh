#!/bin/bash
# Runs a command on an X display: the shared display of the test run when SETUP_DISPLAY_STATE names a
# live one (see display-fixture.sh), otherwise a private Xvfb of its own that is stopped afterwards.
# Used by the window tests and by `make run` on machines without a display.
set -u
here="$(dirname "$0")"
state="${SETUP_DISPLAY_STATE:-}"
own=""
if [ -z "$state" ] || ! "$here/display-fixture.sh" alive "$state"; then
  own=$(mktemp /tmp/xvfb-state.XXXXXX)
  rm -f "$own"
  state="$own"
  "$here/display-fixture.sh" start "$state" || exit 1
fi
read -r num _ <"$state"
export DISPLAY=":$num"
"$@"
rc=$?
[ -n "$own" ] && "$here/display-fixture.sh" stop "$own" "${WINEPREFIX:-}"
exit $rc
