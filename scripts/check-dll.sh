#!/usr/bin/env bash
# Checks that a built TextaroBar.dll exports exactly the four entry points of an in-process
# server and imports from Windows system DLLs only (no MinGW runtime beside it).
set -euo pipefail
dll=$1
dump=$(objdump -p "$dll")
exports=$(echo "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF} on && /^$/{on=0}' | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer "
echo "exports: $exports"
[ "$exports" = "$expected" ] || { echo "unexpected exports (want: $expected)"; exit 1; }
system='^(kernel32|user32|gdi32|comctl32|comdlg32|wininet|ole32|oleaut32|advapi32|shell32|shlwapi|version|uxtheme|msvcrt)\.dll$'
status=0
for name in $(echo "$dump" | awk '/DLL Name:/{print tolower($3)}'); do
    if [[ $name =~ $system ]]; then echo "imports: $name"; else echo "NOT A SYSTEM DLL: $name"; status=1; fi
done
exit $status
