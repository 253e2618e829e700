#!/bin/sh
# Builds the demo's update site: make-site.sh OUT. OUT/support/vexa_dos receives datefix.txt (the
# package dates) and the three packages as ZIP files made with zip: BUGFIX.exe (a newer Version.DAT
# and a note), winfix.exe (WinFix.DAT) and confix.exe (ConFix.DAT), each laid out as KORVO is.
set -eu
mkdir -p "$1"
out="$(cd "$1" && pwd)"
site="$out/support/vexa_dos"
stage="$out.stage"
rm -rf "$out" "$stage"
mkdir -p "$site"

# text FILE LINE...: a text file of CR LF lines.
text() {
  file="$1"
  shift
  mkdir -p "$(dirname "$file")"
  printf '%s\r\n' "$@" >"$file"
}

text "$site/datefix.txt" "VEXA update packages" "20.05.2001" "02.06.2001" "12.05.2001"
text "$stage/bugfix/InitDat/Version.DAT" "4.01" "20.05.2001"
text "$stage/bugfix/Doc/Bugfix.DOC" "VEXA 4.01: the program fixes of 20.05.2001."
text "$stage/winfix/Install/Win/WinFix.DAT" "Windows tools" "12.05.2001"
text "$stage/confix/InitDat/ConFix.DAT" "Configuration files" "02.06.2001"
(cd "$stage/bugfix" && zip -q -r -X "$site/BUGFIX.exe" .)
(cd "$stage/winfix" && zip -q -r -X "$site/winfix.exe" .)
(cd "$stage/confix" && zip -q -r -X "$site/confix.exe" .)
rm -rf "$stage"
