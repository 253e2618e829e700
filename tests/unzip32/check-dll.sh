#!/bin/sh
# check-dll.sh DLL: UnZip32.DLL must import system DLLs only (zlib and the C++ runtime are inside) and
# export Wiz_SingleEntryUnzip under its undecorated name.
set -e
dump=$(i686-w64-mingw32-objdump -p "$1")
imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
for dll in $imports; do
  case "$dll" in
    KERNEL32.DLL | MSVCRT.DLL | USER32.DLL | ADVAPI32.DLL) ;;
    *) echo "unexpected import: $dll"; exit 1 ;;
  esac
done
printf '%s\n' "$dump" | grep -Eq '^[[:space:]]*\[ *[0-9]+\] Wiz_SingleEntryUnzip$' ||
  { echo "export Wiz_SingleEntryUnzip missing or decorated"; exit 1; }
echo "imports: $(echo $imports)"
