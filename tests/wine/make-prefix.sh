#!/usr/bin/env bash
# Makes the build's Wine prefix once: later runs find it ready. Then gives
# each LANE a prefix of its own, made afresh from it, in which that lane's
# tests run beside the others' (clone_prefix in env.sh).
#   make-prefix.sh PREFIX [LANE...]
# The prefix is 64-bit with a 32-bit half (drive_c/windows/syswow64) that
# wineboot fills by starting 32-bit programs of its own. Where 32-bit code
# runs only emulated, those start only inside the emulation's namespace, so
# the prefix is made there: made outside, syswow64 stays empty and no 32-bit
# program can load kernel32.dll in it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
enter_wine32 "$0" "$@"
# Wine takes only an absolute prefix.
export WINEPREFIX=$(realpath -m "$1")
shift
make_lanes() {
    local lane
    for lane in "$@"; do
        clone_prefix "$WINEPREFIX" "$lane" || { echo "could not copy the prefix to $lane" >&2; exit 1; }
        echo "lane prefix ready: $lane"
    done
    exit 0
}
if [ -f "$WINEPREFIX/.tamrik-ready" ]; then
    # A prefix made before its 32-bit half could be, or by a script that
    # made it outside the emulation, is made again.
    if [ "$(wine32_mode)" = none ] || has_32bit_half; then
        echo "prefix ready: $WINEPREFIX"
        make_lanes "$@"
    fi
    echo "the prefix $WINEPREFIX has no 32-bit half: making it again"
fi
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
start_display
trap stop_display EXIT
echo "making Wine prefix $WINEPREFIX (takes a few seconds the first time; $(wine32_mode) 32-bit code)"
"$WINE64" wineboot -i >/dev/null 2>&1 || true
stop_wine
[ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot made no prefix" >&2; exit 1; }
# Tests scan drives; the host's whole file system as z: is left out.
rm -f "$WINEPREFIX/dosdevices/z:"
if [ "$(wine32_mode)" != none ]; then
    check_32bit_prefix || exit 1
    stop_wine
fi
touch "$WINEPREFIX/.tamrik-ready"
echo "prefix ready: $WINEPREFIX"
make_lanes "$@"
