#!/usr/bin/env bash
# Makes the build's Wine prefix once: later runs find it ready.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
export WINEPREFIX=$1
if [ -f "$WINEPREFIX/.tamrik-ready" ]; then
    echo "prefix ready: $WINEPREFIX"
    exit 0
fi
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
echo "prefix ready: $WINEPREFIX"
