#!/usr/bin/env bash
# Registers a built TextaroBar.dll with Wine's regsvr32, checks the registry rows the browser
# needs, unregisters it and checks that they are gone while the shared keys stay. The DLL is
# registered from a copy in a folder with an apostrophe in its name, as a user's folder may be.
#   check-registration.sh out/x86/TextaroBar.dll 32|64
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/O'Neil"
cp "$1" "$folder/O'Neil/TextaroBar.dll"
dll="$folder/O'Neil/TextaroBar.dll"
view=/reg:$2
clsid='{5B9E5A81-BFB2-4229-AB04-7EF09063CF7C}'
libid='{F123B057-28C7-4BF7-BDF4-54808FD3CA24}'
failures=0

query() { "$here/wine-run.sh" reg query "$1" $view 2>/dev/null | tr -d '\r'; }

expect() { # key, pattern that a line of its listing must match
    if query "$1" | grep -qE "$2"; then
        echo "ok: $1 ~ $2"
    else
        echo "MISSING: $1 ~ $2"
        failures=$((failures + 1))
    fi
}

expect_gone() {
    if "$here/wine-run.sh" reg query "$1" $view >/dev/null 2>&1; then
        echo "STILL THERE: $1"
        failures=$((failures + 1))
    else
        echo "ok: $1 removed"
    fi
}

"$here/wine-run.sh" regsvr32 /s "$dll" || { echo "regsvr32 failed"; exit 1; }
expect 'HKCR\TextaroBar.TextaroBarBand.1' 'REG_SZ +TextaroBarBand$'
expect 'HKCR\TextaroBar.TextaroBarBand.1\CLSID' "REG_SZ +$clsid\$"
expect 'HKCR\TextaroBar.TextaroBarBand' 'REG_SZ +TextaroBarBand$'
expect 'HKCR\TextaroBar.TextaroBarBand\CLSID' "REG_SZ +$clsid\$"
expect 'HKCR\TextaroBar.TextaroBarBand\CurVer' 'REG_SZ +TextaroBar.TextaroBarBand.1$'
expect "HKCR\\CLSID\\$clsid" 'REG_SZ +Textaro\.cz$'
expect "HKCR\\CLSID\\$clsid\\ProgID" 'REG_SZ +TextaroBar.TextaroBarBand.1$'
expect "HKCR\\CLSID\\$clsid\\VersionIndependentProgID" 'REG_SZ +TextaroBar.TextaroBarBand$'
expect "HKCR\\CLSID\\$clsid\\InprocServer32" "REG_SZ +Z:.*\\\\O'Neil\\\\TextaroBar.dll\$"
expect "HKCR\\CLSID\\$clsid\\InprocServer32" 'ThreadingModel +REG_SZ +Apartment$'
expect "HKCR\\CLSID\\$clsid\\TypeLib" "REG_SZ +$libid\$"
expect 'HKLM\SOFTWARE\Microsoft\Internet Explorer\Toolbar' "$clsid +REG_SZ +Textaro\.cz\$"

"$here/wine-run.sh" regsvr32 /u /s "$dll" || { echo "regsvr32 /u failed"; exit 1; }
expect_gone 'HKCR\TextaroBar.TextaroBarBand.1'
expect_gone 'HKCR\TextaroBar.TextaroBarBand'
expect_gone "HKCR\\CLSID\\$clsid"
expect_gone "HKCR\\TypeLib\\$libid"
if query 'HKLM\SOFTWARE\Microsoft\Internet Explorer\Toolbar' | grep -q "$clsid"; then
    echo "STILL THERE: the browser's toolbar value"
    failures=$((failures + 1))
else
    echo "ok: the browser's toolbar value removed"
fi
"$here/wine-run.sh" reg query 'HKLM\SOFTWARE\Microsoft\Internet Explorer\Toolbar' $view >/dev/null 2>&1 ||
    { echo "GONE: the browser's toolbar key must stay"; failures=$((failures + 1)); }
"$here/wine-run.sh" reg query 'HKCR\CLSID' $view >/dev/null 2>&1 ||
    { echo "GONE: HKCR\\CLSID must stay"; failures=$((failures + 1)); }

echo "registration check: $failures failure(s)"
[ "$failures" -eq 0 ]
