#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, with the Czech locale that
# gives the Windows side code page 1250. A 64-bit prefix runs the x86 and x64 builds alike;
# WINEARCH=win32 makes a prefix of a 32-bit system (the installer's check uses one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=${WINEARCH:-win64}
export WINEDEBUG=${WINEDEBUG:--all}
# Never offer to download runtimes: nothing can be downloaded, and the offer would wait.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    loader=/usr/lib/wine/wine64
    [ "$WINEARCH" = win64 ] || loader=/usr/lib/wine/wine
    "$loader" wineboot --init >/dev/null 2>&1
    # Xvfb has no window manager: Wine then manages its windows itself instead of waiting,
    # seconds a time, for a manager to confirm that a window was shown or hidden.
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi
# Wine draws its caption buttons with Marlett and looks for it in the prefix's Fonts folder,
# not where Debian's fonts-wine puts it: without it the buttons show letters. Wine's own Tahoma
# stays out: it draws "ů" as a box, and the system's fonts stand in for Tahoma with every Czech
# letter right.
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
exec env LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 wine "$@"
