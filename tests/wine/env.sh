# Sourced by the Wine test scripts: the loaders and a quiet, prompt-free
# environment. Debian's 32-bit loader runs 32-bit programs; where the kernel
# cannot run 32-bit code, only the 64-bit loader works.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=$WINE64

# True when 32-bit Windows programs can run on this machine.
can_run_32bit() {
    [ -x "$WINE32" ] && "$WINE32" --version >/dev/null 2>&1
}

# Starts a virtual display of its own; sets DISPLAY and XVFB_PID.
start_display() {
    local fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

stop_display() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# Ends every Wine process of the prefix and waits until they are gone.
stop_wine() {
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
}
