#!/usr/bin/env bash
# The browser stand-in is closed while a box of a send run is up (the past-time question, then
# the report): the box goes with the window, the run ends, and the stand-in exits at once
# instead of hanging on a run that waits for the box.
#   host-closes-during-run.sh OUT_DIR GATEWAY_ADDRESS_FILE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(cd "$1" && pwd)
address=$(cat "$2")
work=$(mktemp -d)
trap 'rm -rf "$work" "$out/settings.ini" "$out/menu.ini"
      "$root/scripts/wine-run.sh" regsvr32 /u /s "$out/TextaroBar.dll" || true' EXIT

printf '[SETTINGS]\r\nGateway=%s\r\n' "$address" >"$out/menu.ini"
"$root/scripts/wine-run.sh" regsvr32 /s "$out/TextaroBar.dll"
outbox() { curl -s "http://$address/admin/outbox" | { grep -o '"msisdn"' || true; } | wc -l; }

compose='activate
type Ahoj
key tab
type 777111222
click 8
wait 2000
dialog
close'
# The delayed-send dialog confirmed as it opens arms the present moment, past by the send.
question="click 7
wait 800
answer ok
wait 1500
$compose"

status=0
for case in question report; do
    # Each case starts signed in with empty boxes: the first leaves its unsent text as a draft.
    printf '[SETTINGS]\r\nUserName=jana\r\nPasword=%s\r\n' \
        "$(printf heslo | md5sum | cut -d' ' -f1)" >"$out/settings.ini"
    [ "$case" = question ] && script=$question || script=$compose
    printf 'wait 1000\n%s\n' "$script" >"$work/$case.txt"
    before=$(outbox)
    if ! timeout 60 "$root/scripts/wine-run.sh" "$out/browser-host.exe" \
        --script "Z:${work//\//\\}\\$case.txt" 2>&1 | tr -d '\r' >"$work/$case.out"; then
        echo "$case: the stand-in did not close"
        status=1
    fi
    cat "$work/$case.out"
    expected=$([ "$case" = question ] && echo "Chyba při zpožděném odesílání" || echo "Odeslání zpráv")
    grep -qx "dialog: $expected" "$work/$case.out" || { echo "$case: the box was not up"; status=1; }
    sent=$(($(outbox) - before))
    [ "$sent" -eq "$([ "$case" = question ] && echo 0 || echo 1)" ] ||
        { echo "$case: $sent message(s) sent"; status=1; }
done
[ $status -eq 0 ] && echo "the stand-in closed with each box up"
exit $status
