#!/bin/bash
# Starts SetUp.EXE of the demo under Wine in the demo's own prefix: run.sh [WORD]
#   No installed copy yet: a fresh copy of the demo medium is put into the prefix as C:\Medium and its
#   SetUp.EXE starts on the installation page. Once installed (the registry entry names the tree), the
#   installed copy starts: the set-up panel, or with WORD (CMD or ASC) that mode.
# With no $DISPLAY the program runs on a private Xvfb display; after it has come up a screenshot is
# saved to build/screens/run.png and the program is ended.
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
demo="$root/build/demo"
medium="$demo/medium"
word="${1:-}"
export WINEPREFIX="$demo/wineprefix" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

[ -f "$medium/SetUp.EXE" ] || { echo "run: no demo medium in $medium (build first)" >&2; exit 1; }
"$root/cmake/make-wineprefix.sh" "$WINEPREFIX"

# The tree the registry entry names, when its SetUp.EXE is there.
installed=""
recorded=$(wine reg query 'HKLM\SOFTWARE\Quarnell\Vexa_Dos' /v Path 2>/dev/null | tr -d '\r' |
           sed -n 's/^ *Path *REG_SZ *//p')
# Let that query's Wine server end: a server started without a display would keep the next windows
# off the screen.
wineserver -w
if [ -n "$recorded" ]; then
  program="$recorded\\KORVO\\Install\\Win\\SetUp.EXE"
  [ -f "$(winepath -u "$program" 2>/dev/null)" ] && installed="$program"
fi

if [ -n "$installed" ]; then
  echo "run: starting the installed copy $installed ${word}"
  cd "$(winepath -u "$recorded\\KORVO\\Install\\Win")"
  command=(wine "$installed" ${word:+"$word"})
else
  [ -n "$word" ] && echo "run: $word needs an installed copy; install it first (OK on this page)"
  rm -rf "$WINEPREFIX/drive_c/Medium"
  cp -r "$medium" "$WINEPREFIX/drive_c/Medium"
  echo "run: starting C:\\Medium\\SetUp.EXE from the demo medium"
  cd "$WINEPREFIX/drive_c/Medium"
  command=(wine 'C:\Medium\SetUp.EXE')
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "${command[@]}"
fi

# No display: show it on Xvfb, save what it looks like, then end the prefix's programs.
shot="$root/build/screens/run.png"
"$root/cmake/with-display.sh" bash -c '
  "$@" &
  sleep "${RUN_SHOT_WAIT:-8}"
  "'"$root"'/tools/screenshot.sh" "'"$shot"'"
  wineserver -k' run "${command[@]}"
echo "run: no display here; the window is saved in $shot"
