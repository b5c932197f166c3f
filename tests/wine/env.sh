# Sourced by the Wine scripts: the loaders, a quiet and prompt-free
# environment, the display, and how this machine runs 32-bit programs.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver64
QEMU_I386=/usr/bin/qemu-i386-static
WINE_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=$WINE64

# How Wine's 32-bit half runs here:
#   native    the kernel runs 32-bit x86 code, and Debian's 32-bit loader
#             starts as it is;
#   emulated  it cannot (some machines boot with the kernel's 32-bit
#             emulation off: "Exec format error"), so qemu-i386 runs the
#             32-bit loader and every 32-bit library it loads, while the
#             wineserver and every 64-bit program stay native. A 32-bit
#             Windows program then sees WOW64 as on 64-bit Windows.
#             TAMRIK_EMULATE_32BIT=1 asks for this on a machine that runs
#             32-bit code natively too, to try this lane there;
#   none      neither: no 32-bit program can start.
wine32_mode() {
    if [ -n "${TAMRIK_IN_EMULATION:-}" ]; then
        echo emulated
    elif [ -z "${TAMRIK_EMULATE_32BIT:-}" ] && [ -x "$WINE32" ] && env -u WINEPREFIX "$WINE32" --version >/dev/null 2>&1; then
        echo native
    elif [ -x "$WINE32" ] && [ -x "$QEMU_I386" ]; then
        echo emulated
    else
        echo none
    fi
}

# True when 32-bit Windows programs can run on this machine, natively or
# emulated (see enter_wine32); otherwise says why not.
can_run_32bit() {
    [ "$(wine32_mode)" != none ] && return 0
    echo "no 32-bit program can start here: the kernel runs no 32-bit code (or TAMRIK_EMULATE_32BIT" \
         "asks for emulation) and $QEMU_I386 is missing; scripts/setup.sh installs it" >&2
    return 1
}

# Where 32-bit code runs only emulated, runs the calling script again, with
# the same arguments, in a user and mount namespace of its own whose
# binfmt_misc hands every 32-bit x86 program to qemu-i386 (Linux 6.7 and
# later give each user namespace its own binfmt_misc). Nothing on the
# machine changes. Every Wine process of the test must start inside: a
# 32-bit child of a Wine process started outside would fail. Call it
# before anything else, as: enter_wine32 "$0" "$@"
enter_wine32() {
    [ "$(wine32_mode)" = emulated ] && [ -z "${TAMRIK_IN_EMULATION:-}" ] || return 0
    exec unshare --user --map-root-user --mount -- "$BASH" "$WINE_SCRIPTS/emulated-32bit.sh" "$QEMU_I386" "$BASH" "$@"
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
