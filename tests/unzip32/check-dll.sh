#!/bin/sh
# check-dll.sh DLL: UnZip32.DLL must import system DLLs only (zlib and the C++ runtime are inside), or
# it cannot be loaded where the program is installed.
set -e
dump=$(i686-w64-mingw32-objdump -p "$1")
imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
for dll in $imports; do
  case "$dll" in
    KERNEL32.DLL | MSVCRT.DLL | USER32.DLL | ADVAPI32.DLL) ;;
    *) echo "unexpected import: $dll"; exit 1 ;;
  esac
done
echo "imports: $(echo $imports)"
