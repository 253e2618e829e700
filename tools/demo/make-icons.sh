#!/bin/sh
# Draws the program's icons: make-icons.sh OUTDIR [NAME...], each NAME.ICO with a 32 and a 16 pixel
# picture. SetUp is SetUp.EXE's own icon; Vexa, VexaCmd and VexaAsc are the Windows tools' icons of the
# demo medium (the measurement program, its command-line start and the ASCII converter).
set -e
out="$1"
shift
[ $# -gt 0 ] || set -- SetUp Vexa VexaCmd VexaAsc
mkdir -p "$out"

# draw NAME DRAWING-OPTIONS...: the options paint on a transparent 32 x 32 canvas.
draw() {
  name="$1"
  shift
  big="$out/$name.32.png"
  convert -size 32x32 xc:none "$@" "$big"
  convert "$big" \( "$big" -resize 16x16 \) "ico:$out/$name.ICO.part"
  mv -f "$out/$name.ICO.part" "$out/$name.ICO"
  rm -f "$big"
}

for name in "$@"; do
  case "$name" in
  SetUp) # a diskette with a green arrow going in
    draw SetUp -fill '#1f3f9f' -stroke '#0f1f5f' -draw 'roundrectangle 3,2 28,29 2,2' \
      -fill '#f4f4f4' -stroke '#9090a0' -draw 'rectangle 7,3 24,14' \
      -fill '#b8b8c8' -stroke '#606070' -draw 'rectangle 9,21 22,29' \
      -fill '#1f3f9f' -stroke none -draw 'rectangle 17,23 19,27' \
      -fill '#20b020' -stroke '#106010' -draw 'polygon 12,4 19,4 19,9 23,9 15.5,16 8,9 12,9' ;;
  Vexa) # a measurement curve on an instrument screen
    draw Vexa -fill '#202428' -stroke '#808890' -draw 'roundrectangle 1,3 30,28 3,3' \
      -stroke '#305030' -strokewidth 1 -draw 'line 4,16 27,16' -draw 'line 15,6 15,25' \
      -stroke '#40ff40' -strokewidth 2 -fill none \
      -draw 'polyline 4,22 8,21 11,13 13,8 15,7 17,10 19,17 22,21 27,22' ;;
  VexaCmd) # a console window with a prompt and a cursor
    draw VexaCmd -fill '#000000' -stroke '#a0a0a0' -draw 'rectangle 1,4 30,27' \
      -fill '#1f3f9f' -stroke none -draw 'rectangle 2,5 29,9' \
      -fill none -stroke '#e0e0e0' -strokewidth 2 -draw 'polyline 5,13 10,17 5,21' \
      -fill '#e0e0e0' -stroke none -draw 'rectangle 13,20 19,21' ;;
  VexaAsc) # a text page with a small curve of data
    draw VexaAsc -fill '#ffffff' -stroke '#505050' -draw 'polygon 5,1 21,1 27,7 27,30 5,30' \
      -fill '#d0d0d0' -draw 'polygon 21,1 21,7 27,7' \
      -stroke '#3050c0' -strokewidth 1 -draw 'line 8,6 18,6' -draw 'line 8,10 23,10' \
      -draw 'line 8,14 21,14' -draw 'line 8,18 23,18' \
      -stroke '#d02020' -strokewidth 2 -fill none -draw 'polyline 8,27 12,25 15,21 18,24 24,22' ;;
  *)
    echo "make-icons: no picture for $name" >&2
    exit 1 ;;
  esac
done
