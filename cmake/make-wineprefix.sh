#!/bin/sh
# Creates a private 32-bit Wine prefix once (never ~/.wine); later calls return at once.
# A lock keeps parallel tests from creating it twice.
prefix="$1"
[ -f "$prefix/.ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0
rm -rf "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
wineboot -i >/dev/null 2>&1
wineserver -w
[ -f "$prefix/system.reg" ] || { echo "make-wineprefix: wineboot failed for $prefix" >&2; exit 1; }
# The user's shell folders (Desktop, Documents, ...) are links to the host's home folder: make them
# folders of the prefix, so shortcuts and files the program puts there stay inside the build.
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
done
# Wine's own fonts (MS Sans Serif, Tahoma, Marlett for the caption buttons): Debian's wine does not
# find them in /usr/share/wine/fonts by itself, so the prefix's Fonts folder gets copies.
cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
# Every program runs inside Wine's virtual desktop: windows get real title bars and borders without
# a window manager, and screenshots show what a Windows user sees.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.ready"
