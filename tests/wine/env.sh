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

# True when the prefix's 32-bit half is there: wineboot fills syswow64
# only where it could start 32-bit programs.
has_32bit_half() {
    [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

# True when a 32-bit program starts in $WINEPREFIX; otherwise says why and
# how to mend it, so that a lane stops at once instead of every test
# waiting out its deadline. Call it inside the emulation (enter_wine32).
check_32bit_prefix() {
    local out=
    has_32bit_half &&
        out=$(timeout 120 "$WINE32" 'C:\windows\syswow64\cmd.exe' /c echo tamrik-32bit-ok 2>&1 </dev/null | tr -d '\r')
    case $out in *tamrik-32bit-ok*) return 0 ;; esac
    echo "FAIL: no 32-bit program starts in the Wine prefix $WINEPREFIX ($(wine32_mode) 32-bit code)." >&2
    if has_32bit_half; then
        echo "  A 32-bit cmd.exe said: ${out:-nothing}" >&2
    else
        echo "  Its 32-bit half (drive_c/windows/syswow64) is empty: the prefix was made where" \
             "32-bit programs could not start." >&2
    fi
    echo "  Mend: remove the prefix and let tests/wine/make-prefix.sh make it again" \
         "(rm -rf build/wine, then bash scripts/test.sh)." >&2
    return 1
}

# In a mount namespace of the caller's own (see enter_wine32), hands every
# 32-bit x86 program to INTERPRETER through the namespace's binfmt_misc.
# The magic and mask are the ELF header of a 32-bit x86 program or library,
# as qemu's own binfmt table has them. F opens the interpreter now, so that
# it is found whatever the mounts of the programs that start later.
register_i386() {
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    printf '%s' ":$1:M::$magic:$mask:$2:F" >/proc/sys/fs/binfmt_misc/register
}

# Makes DST a prefix of its own, as SRC is now, in a moment: the system's
# libraries (1.3 GB that no test writes to) are hard links to SRC's, and
# everything else (the registry, drive C's other folders, the drives) a
# copy, so that Wine tests in DST and in SRC run side by side.
clone_prefix() {
    local src=$1 dst=$2 big="system32 syswow64 winsxs" dir
    rm -rf "$dst"
    mkdir -p "$dst"
    (cd "$src" && tar cf - $(printf -- '--exclude=./drive_c/windows/%s ' $big) .) | (cd "$dst" && tar xf -) || return 1
    for dir in $big; do
        [ ! -d "$src/drive_c/windows/$dir" ] || cp -al "$src/drive_c/windows/$dir" "$dst/drive_c/windows/$dir" || return 1
    done
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
