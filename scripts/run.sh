#!/usr/bin/env bash
# Builds Tamrik.exe and starts it under Wine on the user's display, or on a
# virtual one when there is none (a screenshot of it is saved and its path
# printed). Runs until Tamrik ends or this script is interrupted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAMRIK_BUILD:-$root/build}
# Where 32-bit code runs only emulated, the script starts again inside the
# emulation's namespace (tests/wine/env.sh), set up and built already.
if [ -z "${TAMRIK_IN_EMULATION:-}" ]; then
    "$root/scripts/setup.sh"
    "$root/scripts/build.sh"
fi
. "$root/tests/wine/env.sh"
enter_wine32 "$0" "$@"
export WINEPREFIX=${WINEPREFIX:-$build/wine-run}
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX"

exe=$build/win-i686/Tamrik.exe
loader=$WINE32
if ! can_run_32bit; then
    echo "note: starting the 64-bit build of Tamrik.exe instead."
    exe=$build/win-x86_64/Tamrik.exe
    loader=$WINE64
elif [ "$(wine32_mode)" = emulated ]; then
    echo "note: this machine runs 32-bit code only emulated (qemu-i386): Tamrik starts more slowly."
fi

# Tamrik runs from its own directory, where its help file lies.
program_dir=$WINEPREFIX/drive_c/Tamrik
mkdir -p "$program_dir"
cp "$exe" "$program_dir/Tamrik.exe"
[ -f "$root/readme.txt" ] && cp "$root/readme.txt" "$program_dir/"
cd "$program_dir"

if [ -z "${DISPLAY:-}" ]; then
    start_display
    trap 'stop_wine; stop_display' EXIT
    "$loader" Tamrik.exe "$@" &
    tamrik=$!
    # Take the picture once the Properties window is up and painted: the
    # screen is all black before, and half painted while two pictures in a
    # row differ (emulated, painting takes a while). After half a minute,
    # whatever shows.
    shot=$build/tamrik-screenshot.png
    last=$build/tamrik-screenshot-last.png
    for _ in $(seq 1 150); do
        if xdotool search --onlyvisible --name "Tamrik 1.7" >/dev/null 2>&1; then
            import -window root "$shot"
            [ "$(convert "$shot" -format '%[fx:maxima]' info:)" != 0 ] && [ -f "$last" ] &&
                cmp -s <(convert "$shot" rgb:-) <(convert "$last" rgb:-) && break
            cp "$shot" "$last"
        fi
        sleep 0.2
    done
    rm -f "$last"
    [ -f "$shot" ] || import -window root "$shot"
    echo "Tamrik is running on the virtual display $DISPLAY; screenshot: $shot"
    echo "Press Ctrl+C to stop."
    wait $tamrik
else
    exec "$loader" Tamrik.exe "$@"
fi
