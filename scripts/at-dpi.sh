#!/usr/bin/env bash
# Runs a command with the Wine prefix's display at N dots per inch and puts the prefix back to 96
# afterwards: scripts/at-dpi.sh N COMMAND... Each Wine process reads LogPixels as it starts, so
# no restart of wineserver is needed. TEXTARO_DPI tells the command the scale it was given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dpi=$1
shift
desktop='HKCU\Control Panel\Desktop'
logpixels() { "$root/scripts/wine-run.sh" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'logpixels 96' EXIT
logpixels "$dpi"
TEXTARO_DPI=$dpi "$@"
