#!/bin/sh
# Checks that the program is a 32-bit GUI executable for i386 that imports
# only DLLs that ship with Windows.
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "FAIL: $*"; exit 1; }
echo "$dump" | grep -q "file format pei-i386" || fail "not a PE32 i386 file"
echo "$dump" | grep -Eq "^Subsystem[[:space:]]+00000002" || fail "not the GUI subsystem"
dlls=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $dlls
allowed="kernel32.dll user32.dll gdi32.dll shell32.dll wsock32.dll icmp.dll msvcrt.dll"
for dll in $dlls; do
    case " $allowed " in
        *" $dll "*) ;;
        *) fail "imports $dll, which does not ship with every Windows" ;;
    esac
done
for needed in icmp.dll wsock32.dll shell32.dll user32.dll; do
    echo "$dlls" | grep -qx "$needed" || fail "does not import $needed"
done
echo "OK: $exe is a PE32 i386 GUI program importing system DLLs only"
