#!/usr/bin/env bash
# The main job: starts the gateway server with a demo account, points the toolbar at it,
# registers the toolbar in a Wine prefix and opens it in the browser stand-in for a new user
# (an empty settings.ini). With a display the window is yours to use; without one the stand-in
# sets up the account in "Nastavení" and "Nastavit heslo", types a message with a line break to
# two numbers, presses "Odeslat", opens the sent messages of the portal from the main menu and
# shows the address-book menu; the script prints the report, the credit shown, the portal page
# opened and the server's outbox, saving screenshots of the toolbar, the progress window, the
# report, both menus, and the portal pages and outbox as a browser renders them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
interactive=${DISPLAY:+yes}
source scripts/display.sh

cmake --preset native >/dev/null
cmake --build --preset native --target textaro-gateway
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target TextaroBar browser-host
out=$(pwd)/out/x86
shots=$(pwd)/out/screenshots
mkdir -p "$shots"

state=$(mktemp -d)
cleanup() {
    # A registration left behind would outlive the build it names (and the other build's checks).
    scripts/wine-run.sh regsvr32 /u /s "$out/TextaroBar.dll" || true
    scripts/gateway-server.sh stop "$state"
    rm -rf "$state" "$out/settings.ini" "$out/menu.ini"
}
trap 'cleanup; textaro_stop_display' EXIT
# Each request waits a little, so the progress window can be seen.
address=$(scripts/gateway-server.sh start "$state" --account demo:heslo:250.00 --delay-ms 700)
echo "gateway server on $address (outbox for people: http://$address/)"

# The toolbar finds the gateway through menu.ini and the account in settings.ini, both
# beside the DLL; the password is stored only as its MD5 digest.
# The main menu's web items: portal pages of the signed-in visit and plain links. The file is
# Windows-1250, as the toolbar reads it.
sed 's/$/\r/' <<MENU | iconv -f UTF-8 -t CP1250 >"$out/menu.ini"
[SETTINGS]
Gateway=$address
Portal=http://$address/
Upgrade=http://$address/?index.xp
[MojeTextaro]
Můj účet=account
Odeslané zprávy=history
Přezdívka=nick
[TextaroMenu]
Úvodní stránka portálu=http://$address/?index.xp
Všechny odeslané zprávy (server)=http://$address/
MENU
# A new user's toolbar: no account yet, set up through "Nastavení".
rm -f "$out/settings.ini"
scripts/wine-run.sh regsvr32 /s "$out/TextaroBar.dll"
echo "TextaroBar.dll registered"

if [ -n "$interactive" ]; then
    scripts/wine-run.sh "$out/browser-host.exe"
else
    script=$state/script.txt
    # "Nastavení", the last item of the main menu, as the user opens it.
    open_settings=$'press 0\nwait 1500\nkey up\nkey up\nkey up\nkey enter\nwait 800'
    cat >"$script" <<SCRIPT
wait 1500
activate
snapshot new-user
$open_settings
fill 203 demo
fill 208 demo@example.cz
tick 236
snapshot settings
answer 207
wait 800
fill 210 heslo
fill 211 heslo
snapshot password
answer ok
wait 500
answer ok
wait 1000
activate
type Ahoj Jano,¶zítra v 10 u kina.
key tab
type 777123456;603987654
wait 300
snapshot toolbar
click 8
wait 500
snapshot progress
wait 2500
dialog
snapshot report
answer ok
wait 500
press 0
# The button's tip goes away by itself after a few seconds; the menu stays.
wait 6000
snapshot main-menu
key down
key down
key down
key enter
wait 2000
press 5
wait 6000
snapshot address-book
key escape
wait 300
print
close
SCRIPT
    rm -f "$shots"/*.png
    # Runs the stand-in on a script (prefixed by the command given, if any), answering its
    # snapshot requests as they come.
    run_host() { # script output [command...]
        local script=$1 output=$2
        shift 2
        "$@" scripts/wine-run.sh "$out/browser-host.exe" --script "Z:${script//\//\\}" \
            --snapshots "Z:${shots//\//\\}" 2>&1 | stdbuf -oL tr -d '\r' >"$output" &
        local host=$! taken=0 requests count name
        while kill -0 "$host" 2>/dev/null || [ "$taken" -lt "$(grep -c '^snapshot ' "$output")" ]; do
            requests=$(grep '^snapshot ' "$output" | sed 's/^snapshot //' || true)
            count=$(echo -n "$requests" | grep -c . || true)
            while [ "$taken" -lt "$count" ]; do
                taken=$((taken + 1))
                name=$(echo "$requests" | sed -n "${taken}p")
                import -window root "png:$shots/$name.png.part" && mv "$shots/$name.png.part" "$shots/$name.png"
            done
            sleep 0.1
        done
        wait "$host" || true
    }
    run_host "$script" "$state/host.txt"

    # The same toolbar, its settings, its address book and a report at 150 % display scaling.
    cat >"$state/script150.txt" <<SCRIPT
wait 1500
activate
type Ahoj Jano,¶zítra v 10 u kina.
key tab
type 777123456;603987654
wait 300
snapshot toolbar-150
$open_settings
snapshot settings-150
answer 207
wait 800
snapshot password-150
answer cancel
wait 500
answer cancel
wait 500
press 5
wait 1500
key down
key down
key enter
wait 1500
snapshot contacts-150
answer ok
wait 500
activate
click 8
wait 500
snapshot progress-150
wait 3000
dialog
snapshot report-150
answer ok
wait 500
close
SCRIPT
    run_host "$state/script150.txt" "$state/host150.txt" scripts/at-dpi.sh 144
    # The toolbar at 100 % and at 150 %, side by side: the top of the screen, where the window is.
    convert "$shots/toolbar.png" "$shots/toolbar-150.png" -crop 1280x120+0+0 +repage -background white \
        -splice 0x10 +append "$shots/toolbar-100-150.png"

    echo
    echo "Report \"Odeslání zpráv\":"
    sed -n 's/^  Static: //p' "$state/host.txt" | sed 's/\\n/\n/g' | sed '/^$/d; s/^/  /'
    echo "Credit shown: $(grep '^control Static: ' "$state/host.txt" | tail -1 | sed 's/^control Static: //')"
    page=$(sed -n 's/^navigated: //p' "$state/host.txt" | grep 'index.xp?sid=' | tail -1)
    echo "Main menu \"Odeslané zprávy\" opened: $page"

    # The portal pages the toolbar opens, as a browser renders them.
    render() { # name url
        chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1100,600 \
            --screenshot="$shots/$1.png" "$2" >/dev/null 2>&1
    }
    render portal-history "$page"
    render portal-nick "${page/action=history/action=nick}"
    render portal-home "http://$address/?index.xp"
    render outbox "http://$address/"
    echo "Screenshots:"
    for name in new-user settings password toolbar progress report main-menu address-book portal-history portal-nick \
        portal-home outbox toolbar-150 settings-150 password-150 contacts-150 progress-150 report-150 toolbar-100-150; do
        echo "  $shots/$name.png"
    done
fi

echo
echo "Server outbox:"
python3 - "$address" <<'PY'
import json, sys, urllib.request
with urllib.request.urlopen(f"http://{sys.argv[1]}/admin/outbox") as reply:
    outbox = json.load(reply)
for m in outbox:
    text = m["text"].replace("\r\n", " / ")
    receipt = m["recackaddr"] or "-"
    print(f'  #{m["id"]} to {m["msisdn"]}: "{text}" ({m["parts"]} part(s), '
          f'{m["price"]:.2f} Kč, receipt to {receipt}, {m["state"]})')
PY
