#!/usr/bin/env bash
# Makes the build's Wine prefixes once: later runs find them ready.
#   make-prefix.sh PREFIX [COPY...]
# The first is made by Wine; each further one is a copy of it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
export WINEPREFIX=$1
shift
if [ ! -f "$WINEPREFIX/.tamrik-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    start_display
    trap stop_display EXIT
    echo "making Wine prefix $WINEPREFIX (takes a few seconds the first time)"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    stop_wine
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot made no prefix" >&2; exit 1; }
    # Tests scan drives; the host's whole file system as z: is left out.
    rm -f "$WINEPREFIX/dosdevices/z:"
    touch "$WINEPREFIX/.tamrik-ready"
fi
echo "prefix ready: $WINEPREFIX"
for copy in "$@"; do
    if [ ! -f "$copy/.tamrik-ready" ]; then
        rm -rf "$copy"
        cp -a "$WINEPREFIX" "$copy"
    fi
    echo "prefix ready: $copy"
done
