#!/bin/sh
# Saves a PNG of part of the X screen: screenshot.sh OUT.png [X Y W H]. Without a rectangle, the whole screen.
# The file appears under its name only when complete (callers under Wine poll for it).
set -e
out="$1"
tmp="$out.part.png"
mkdir -p "$(dirname "$out")"
rm -f "$out"
if [ $# -ge 5 ]; then
  xwd -root -silent | convert xwd:- -crop "${4}x${5}+${2}+${3}" +repage "$tmp"
else
  xwd -root -silent | convert xwd:- "$tmp"
fi
mv -f "$tmp" "$out"
