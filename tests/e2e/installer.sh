#!/usr/bin/env bash
# The installer in a fresh Wine prefix: a silent install registers the toolbar (on 64 bits both
# DLLs, each in its view) where the stand-in loads it, with its entry, granting Users settings.ini
# alone (a recorder stands in for Wine's idle icacls); an upgrade under a loaded DLL keeps the
# account and Gateway and swaps the DLL at restart; "Odinstalovat" leaves settings.ini alone.
#   installer.sh SETUP_EXE PREFIX_DIR x86|x64
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$1
export WINEPREFIX=$2
arch=$3
rm -rf "$WINEPREFIX"
export WINEARCH=win32 views=32 system=system32 hosts=x86
[ "$arch" = x64 ] && WINEARCH=win64 views="32 64" system=syswow64 hosts="x86 x64"
run() { "$root/scripts/wine-run.sh" "$@"; }
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k 2>/dev/null' EXIT

clsid='{5B9E5A81-BFB2-4229-AB04-7EF09063CF7C}'
class_key="HKCR\\CLSID\\$clsid\\InprocServer32"
toolbar_key='HKLM\SOFTWARE\Microsoft\Internet Explorer\Toolbar'
entry_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Textaro'
folder=$WINEPREFIX/drive_c/Program\ Files/Textaro
failures=0

# The registry listing of a key in a view, empty when the key is missing; reg's Czech output
# is Windows-1250.
query() {
    local flag= listing
    [ "$WINEARCH" = win64 ] && flag=/reg:$2
    listing=$(run reg query "$1" $flag 2>/dev/null) || return 0
    iconv -f CP1250 -t UTF-8 <<<"$listing" | tr -d '\r'
}
check() { # what, command...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
has() { grep -qE "$2" <<<"$1"; }
menu() { iconv -f CP1250 -t UTF-8 "$folder/menu.ini" | tr -d '\r'; }

export WINEDLLOVERRIDES='mscoree,mshtml=;icacls.exe=n' RECORD_ARGS_TO="Z:${work//\//\\}\\icacls.txt"
run cmd /c exit 0 && cp "$root/build/win32/tests/record_args.exe" "$WINEPREFIX/drive_c/windows/$system/icacls.exe"
icacls_ran() { [ "$(cat "$work/icacls.txt" 2>/dev/null; rm -f "$work/icacls.txt")" = "$1" ]; }
grant='"C:\Program Files\Textaro\settings.ini" /grant *S-1-5-32-545:(R,W)'
listed() { echo $(LC_ALL=C ls "$1"); }
ours="TextaroBar.dll$([ "$arch" = x64 ] && echo ' TextaroBar64.dll') menu.ini settings.ini uninstall.exe"
waited() { # seconds, condition...
    local end=$((SECONDS + $1))
    shift
    until "$@"; do [ "$SECONDS" -lt "$end" ] && sleep 0.1 || return 1; done
}

run "$setup" /S
check "the silent install ends well" test $? -eq 0
check "icacls granted settings.ini alone" icacls_ran "$grant"
check "its files, settings.ini empty" test "$(listed "$folder")" = "$ours" -a ! -s "$folder/settings.ini"
for view in $views; do
    check "the class in the $view-bit view" \
        has "$(query "$class_key" "$view")" "REG_SZ +C:.Program Files.Textaro.TextaroBar${view/32/}.dll\$"
    check "the browser's toolbar value in the $view-bit view" \
        has "$(query "$toolbar_key" "$view")" "$clsid +REG_SZ +Textaro.cz\$"
done
entry=$(query "$entry_key" 64)
check "the installed-programs entry" has "$entry" 'DisplayVersion +REG_SZ +1\.0\.0\.76$'
check "its publisher" has "$entry" 'Publisher +REG_SZ +Textaro$'
check "its uninstall command" has "$entry" 'UninstallString +REG_SZ +"C:.Program Files.Textaro.uninstall.exe"$'
check "the portal actions of menu.ini" has "$(menu)" '^Historie zpráv=history$'
check "the links of menu.ini" has "$(menu)" '^Ceník SMS=http://'
check "the uninstaller in menu.ini" has "$(menu)" '^UninstalString=C:.Program Files.Textaro.uninstall.exe$'

printf 'wait 300\nprint\nclose\n' > "$work/script.txt"
for host in $hosts; do
    shown=$(run "$root/out/$host/browser-host.exe" --script "Z:${work//\//\\}\\script.txt" 2>/dev/null)
    check "the $host stand-in loads the installed toolbar" \
        test "$(grep -c '^band window: yes\|^control ComboBoxEx32' <<<"$shown")" -eq 3
done

# An upgrade over a used install while a browser holds the DLL, marked by a byte; wineboot -r restarts.
printf '[SETTINGS]\r\nUserName=jana\r\nNick=Jana\r\n[CONTACTS]\r\n1=1,777123456,,Jana,Nová\r\n' \
    > "$folder/settings.ini"
cp "$folder/settings.ini" "$work/settings.ini"
sed -i 's/^\[SETTINGS\]\r$/&\nGateway=127.0.0.1:8099\r/' "$folder/menu.ini"
echo >> "$folder/TextaroBar.dll" && cp "$folder/TextaroBar.dll" "$work/old.dll"
printf 'wait 1500\nsnapshot held\nwait 60000\nclose\n' > "$work/hold.txt"
"$root/scripts/wine-run.sh" "$root/out/x86/browser-host.exe" --script "Z:${work//\//\\}\\hold.txt" \
    --snapshots "Z:${work//\//\\}" > "$work/hold.out" 2>/dev/null &
check "a browser has the toolbar loaded" waited 30 grep -qs '^snapshot held' "$work/hold.out"
run "$setup" /S
kill $! && wait $!
check "icacls took the earlier grants away first" icacls_ran \
    "$(printf '"C:\\Program Files\\Textaro%s" /remove:g *S-1-5-32-545\n' '' '\*')"$'\n'"$grant"
check "the loaded DLL kept until the restart" cmp -s "$folder/TextaroBar.dll" "$work/old.dll"
run wineboot -r
check "the new DLL and nothing else after it" \
    test "$(cmp "$folder/TextaroBar.dll" "$root/out/x86/TextaroBar.dll" && listed "$folder")" = "$ours"
check "settings.ini untouched by the upgrade" cmp -s "$folder/settings.ini" "$work/settings.ini"
check "the Gateway key kept by the upgrade" has "$(menu)" '^Gateway=127.0.0.1:8099$'
check "menu.ini written again" has "$(menu)" '^Přezdívka=nick$'

# "Odinstalovat" picked from the toolbar's main menu in a browser: the program and arguments of
# menu.ini, started in the DLL's folder while the toolbar is loaded; silent here, where no one
# answers its pages. The uninstaller copies itself away and goes on from there.
sed -i 's/^UninstalStringArgs=\(.*\)\r$/UninstalStringArgs=\1 \/S\r/' "$folder/menu.ini"
printf 'wait 1500\nactivate\npress 0\nwait 1000\nkey up\nkey enter\nsnapshot loaded\nclose\n' \
    > "$work/open.txt"
run "$root/out/x86/browser-host.exe" --script "Z:${work//\//\\}\\open.txt" \
    --snapshots "Z:${work//\//\\}" > "$work/open.out" 2>/dev/null &
check "a browser has the toolbar loaded" waited 30 grep -qs '^snapshot loaded' "$work/open.out"
check "the uninstaller ends while the toolbar is loaded" waited 30 test ! -e "$folder/uninstall.exe"
touch "$work/loaded.png"
wait
wineserver -w
for view in $views; do
    check "the class gone from the $view-bit view" test -z "$(query "$class_key" "$view")"
    check "the toolbar value gone from the $view-bit view" \
        test -z "$(query "$toolbar_key" "$view" | grep -F "$clsid")"
done
check "the installed-programs entry gone" test -z "$(query "$entry_key" 64)"
check "the toolbar's files gone" test "$(listed "$folder")" = settings.ini
check "settings.ini kept" cmp -s "$folder/settings.ini" "$work/settings.ini"

# A folder with other files is refused, untouched; the one an uninstall left is the toolbar's.
foreign=$WINEPREFIX/drive_c/Foreign && mkdir "$foreign" && echo x > "$foreign/notes.txt"
run "$setup" /S '/D=C:\Foreign'
check "a foreign folder refused" test $? -ne 0 -a "$(listed "$foreign")" = notes.txt \
    -a -z "$(query "$entry_key" 64)$(query "$class_key" 32)"
check "icacls not run there" icacls_ran ""
run "$setup" /S
check "a reinstall over the kept settings.ini" test $? -eq 0

echo "installer check ($arch): $failures failure(s)"
[ "$failures" -eq 0 ]
