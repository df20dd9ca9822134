#!/usr/bin/env bash
# The main job: builds the toolbar, registers it in a Wine prefix and opens it in the browser
# stand-in. With a display the window is yours to use; without one it runs under Xvfb and
# saves a screenshot of the toolbar.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
interactive=${DISPLAY:+yes}
source scripts/display.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target TextaroBar browser-host
out=$(pwd)/out/x86
shots=$(pwd)/out/screenshots
mkdir -p "$shots"
scripts/wine-run.sh regsvr32 /s "$out/TextaroBar.dll"
echo "TextaroBar.dll registered"

if [ -n "$interactive" ]; then
    scripts/wine-run.sh "$out/browser-host.exe"
    exit 0
fi

script=$(mktemp)
printf 'wait 1500\nprint\nsnapshot toolbar\nclose\n' > "$script"
rm -f "$shots/toolbar.png"
scripts/wine-run.sh "$out/browser-host.exe" --script "Z:${script//\//\\}" \
    --snapshots "Z:${shots//\//\\}" 2>&1 | tr -d '\r' | while IFS= read -r line; do
    case $line in
    "snapshot "*)
        import -window root "$shots/${line#snapshot }.png"
        echo "screenshot: $shots/${line#snapshot }.png"
        ;;
    *) echo "$line" ;;
    esac
done
rm -f "$script"
