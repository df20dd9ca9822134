#!/usr/bin/env bash
# The browser stand-in creates the registered toolbar through COM and shows its controls.
#   host-loads-toolbar.sh OUT_DIR (the folder with TextaroBar.dll and browser-host.exe)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"; "$root/scripts/wine-run.sh" regsvr32 /u /s "$out/TextaroBar.dll" || true' EXIT

"$root/scripts/wine-run.sh" regsvr32 /s "$out/TextaroBar.dll"
printf 'wait 500\nprint\nclose\n' > "$work/script.txt"
"$root/scripts/wine-run.sh" "$out/browser-host.exe" --script "Z:${work//\//\\}\\script.txt" \
    2>&1 | tr -d '\r' > "$work/output.txt"
cat "$work/output.txt"
grep -q '^band window: yes' "$work/output.txt"
grep -q '^control Button: doručenka$' "$work/output.txt"
grep -q '^control Static: 0 zn.\\n0 sms$' "$work/output.txt"
[ "$(grep -c '^control ComboBoxEx32' "$work/output.txt")" -eq 2 ]
echo "the stand-in loaded the toolbar"
