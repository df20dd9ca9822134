#!/usr/bin/env bash
# The browser stand-in creates the registered toolbar through COM (its controls are band_test's);
# the activation context the toolbar makes for its manifest is released when the DLL goes.
#   host-loads-toolbar.sh OUT_DIR (the folder with TextaroBar.dll and browser-host.exe)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"; "$root/scripts/wine-run.sh" regsvr32 /u /s "$out/TextaroBar.dll" || true' EXIT

"$root/scripts/wine-run.sh" regsvr32 /s "$out/TextaroBar.dll"
printf 'wait 500\nprint\nclose\n' > "$work/script.txt"
# Wine's relay trace, narrowed to the two calls, shows the context made and released.
"$root/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude \
    /d 'KERNEL32.CreateActCtxA;KERNEL32.ReleaseActCtx' /f >/dev/null
WINEDEBUG=+relay "$root/scripts/wine-run.sh" "$out/browser-host.exe" \
    --script "Z:${work//\//\\}\\script.txt" 2>"$work/relay.txt" | tr -d '\r' | tee "$work/output.txt"
# The x64 relay does not show CreateActCtxA; there the one context's release must show.
context=$(sed -n 's/.*Ret  KERNEL32.CreateActCtxA() retval=\([0-9a-f]*\).*/\1/p' "$work/relay.txt")
grep -q "Call KERNEL32.ReleaseActCtx(${context:-[0-9a-f]*})" "$work/relay.txt" ||
    { echo "the activation context ${context:-of the toolbar} was never released"; exit 1; }
grep -q '^band window: yes' "$work/output.txt"
echo "the stand-in loaded the toolbar"
