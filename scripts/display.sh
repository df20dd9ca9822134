# Sourced by the drivers: gives the Windows side a display. With none, a private Xvfb is
# started on a free display number; textaro_stop_display (run at exit) stops it again.
textaro_stop_display() {
    if [ -n "${textaro_xvfb:-}" ]; then
        WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix} wineserver -k 2>/dev/null || true
        sleep 0.5
        kill "$textaro_xvfb" 2>/dev/null || true
    fi
}
if [ -z "${DISPLAY:-}" ]; then
    textaro_fifo=$(mktemp -u)
    mkfifo "$textaro_fifo"
    exec {textaro_display_fd}<>"$textaro_fifo"
    rm -f "$textaro_fifo"
    Xvfb -displayfd "$textaro_display_fd" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    textaro_xvfb=$!
    read -r -t 20 textaro_display <&"$textaro_display_fd"
    export DISPLAY=":$textaro_display"
    trap textaro_stop_display EXIT
fi
