#!/bin/bash
# Starts SetUp.EXE of the demo under Wine in the demo's own prefix: run.sh [WORD]
#   No installed copy yet: a fresh copy of the demo medium is put into the prefix as C:\Medium and its
#   SetUp.EXE starts on the installation page. Once installed (the registry entry names the tree), the
#   installed copy starts: the set-up panel, or with WORD (CMD or ASC) that mode.
#   The demo's update site (build/demo/site) is served on 127.0.0.1 meanwhile, for the panel's BugFix.
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

# BugFix's update site: the demo packages on a local web server while the program runs, on a port
# the system picks; the program finds it through SETUP_UPDATE_SITE.
[ -d "$demo/site" ] || "$root/tools/demo/make-site.sh" "$demo/site"
portfile="$demo/site.port"
rm -f "$portfile"
python3 "$root/tools/demo/serve-site.py" "$demo/site" "$portfile" &
site_pid=$!
trap 'kill $site_pid 2>/dev/null || true' EXIT
for i in $(seq 50); do [ -s "$portfile" ] && break; sleep 0.1; done
if [ -s "$portfile" ]; then
  export SETUP_UPDATE_SITE="http://127.0.0.1:$(cat "$portfile")"
  echo "run: update site for BugFix at $SETUP_UPDATE_SITE"
else
  echo "run: the update site did not start; BugFix will ask the maker's site" >&2
fi
"$root/cmake/make-wineprefix.sh" "$WINEPREFIX"

# The tree the registry entry names, when its SetUp.EXE is there.
installed=""
recorded=$(wine reg query 'HKLM\SOFTWARE\Quarnell\Vexa_Dos' /v Path 2>/dev/null | tr -d '\r' |
           sed -n 's/^ *Path *REG_SZ *//p')
if [ -n "$recorded" ]; then
  folder=$(winepath -u "$recorded\\KORVO\\Install\\Win" 2>/dev/null | tr -d '\r')
  [ -f "$folder/SetUp.EXE" ] && installed="$recorded\\KORVO\\Install\\Win\\SetUp.EXE"
fi
# Let the Wine server of these queries end: one started without a display would keep the program's
# windows off the screen.
wineserver -w

if [ -n "$installed" ]; then
  echo "run: starting the installed copy $installed ${word}"
  cd "$folder"
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
  "${command[@]}"
  exit
fi

# No display: show it on Xvfb, save the screen once the window has painted (the plain desktop has a
# handful of colours, a window many), then end the prefix's programs.
shot="$root/build/screens/run.png"
mkdir -p "$(dirname "$shot")"
export RUN_SHOT="$shot" RUN_TOOLS="$root/tools"
"$root/cmake/with-display.sh" bash -c '
  "$@" &
  for i in $(seq 60); do
    sleep 1
    "$RUN_TOOLS/screenshot.sh" "$RUN_SHOT"
    [ "$(convert "$RUN_SHOT" -format %k info:)" -gt 16 ] && break
  done
  sleep 2
  "$RUN_TOOLS/screenshot.sh" "$RUN_SHOT"
  wineserver -k' run "${command[@]}"
echo "run: no display here; the window is saved in $shot"
