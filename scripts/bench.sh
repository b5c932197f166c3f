#!/usr/bin/env bash
# Benchmarks of Tamrik under Wine, each side by side with the bare platform
# doing the same work in the same run, the two sides taking turns; prints
# the medians and their ratios. Builds first.
#   bash scripts/bench.sh [TAMRIK.exe] [RUNS]
# TAMRIK.exe is the program measured (by default the build's own), so that
# an older build can be measured beside a newer one; RUNS is at least 5
# (7 by default).
#   start-up  from the start of the process to its five default icons shown
#             in Wine's tray, against tests/bench/bare_tray.cpp putting up
#             five icons; a fresh settings file each run
#   memory    resident and private memory of the same runs once the icons
#             are up and the program waits for input
#   tray only start-up and memory again with Tamrik's Properties window kept
#             closed on start ("Show this menu on startup" off), as the bare
#             program shows none
#   platform  the tray-only figures again, against the bare program that
#             also loads the common controls and shows and hides a window,
#             which Tamrik's start cannot do without: what is left is
#             Tamrik's own
#   sweep     a left click on the minimize icon until 500 windows of another
#             program are minimized, against a click on the bare program's
#             icon that runs a bare EnumWindows and ShowWindowAsync loop
#   drives    the drives menu's popup at depths 1, 3 and 50 over trees of
#             5,000 and 100,000 directories, against the whole tree built at
#             once and a bare FindFirstFileA walk, and three sub-menus opened
#             one below the other against a bare listing of theirs,
#             in-process (tests/bench/drives_bench.cpp, from the sources
#             whatever TAMRIK.exe is)
# All but the drives run on one display under a window manager, as on a
# desktop: with none, Wine holds up every hidden window for some two seconds.
# BENCH_NO_BUILD=1 skips the setup and the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAMRIK_BUILD:-$root/build}
[ -n "${BENCH_NO_BUILD:-}" ] || "$root/scripts/setup.sh"
[ -n "${BENCH_NO_BUILD:-}" ] || "$root/scripts/build.sh"
. "$root/tests/wine/env.sh"
"$root/tests/wine/make-prefix.sh" "$build/wine"
# Timings are taken of a build that runs natively: the shipped 32-bit one
# where the kernel runs 32-bit code, the 64-bit one where 32-bit code would
# run emulated, whose timings would be the emulator's.
bits=32 arch=i686 loader=$WINE32
if [ "$(wine32_mode)" != native ]; then
    echo "bench: this machine runs 32-bit code only emulated; measuring the 64-bit build"
    bits=64 arch=x86_64 loader=$WINE64
fi
exe=$(realpath "${1:-$build/win-$arch/Tamrik.exe}")
runs=${2:-7}
[ -f "$exe" ] || { echo "no program at $exe" >&2; exit 2; }
[ "$runs" -ge 5 ] 2>/dev/null || { echo "RUNS must be a number of at least 5" >&2; exit 2; }
helpers=$build/wintest-$arch/tests/bench
export WINEPREFIX=$build/wine
settings=$WINEPREFIX/drive_c/windows/Tamrik.ini
dir=$WINEPREFIX/drive_c/bench
sweep_windows=500

fail() {
    echo "bench: $*" >&2
    exit 1
}

# --- the display, the window manager and the probe -------------------------

openbox_pid=
finish() {
    [ -n "${PROBE[1]:-}" ] && eval "exec ${PROBE[1]}>&-"
    stop_wine
    [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
    stop_display
    rm -rf "$dir"
    rm -f "$settings"
}

# Waits until the condition command succeeds; fails the run at the deadline.
eventually() {
    local what=$1 deadline=$((SECONDS + 30))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || fail "$what did not happen within 30 s"
        sleep 0.05
    done
}

wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# A process that has ended and not yet been reaped is a zombie.
alive() {
    [ -r "/proc/$1/stat" ] && [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)" != Z ]
}
ended() { ! alive "$1"; }

say() { echo "$*" >&"${PROBE[1]}"; }
hear() {
    IFS= read -r -t 120 reply <&"${PROBE[0]}" || fail "bench_probe.exe gave no answer"
}
# Asks the probe and checks that the answer starts as expected.
ask() {
    local expected=$1
    shift
    say "$@"
    hear
    [[ $reply == "$expected"* ]] || fail "asked '$*', bench_probe.exe answered '$reply'"
}

# Starts a program of the bench directory in the background; sets pid. The
# subshell execs the loader, which becomes the Windows process itself.
launch() {
    (cd "$dir" && exec "$loader" "$@") >/dev/null 2>&1 &
    pid=$!
}

elapsed_ms() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) * 1000 }'
}

median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# --- start-up and memory ----------------------------------------------------

# Tamrik's settings file that keeps its Properties window closed on start.
tray_only() {
    printf '[Configuration]\r\nShowOnStartup=0\r\n' >"$settings"
}

# One start of a program (its file and its arguments, in words) from a
# fresh settings file (none, or the one the fourth argument writes): how
# long until its five icons are shown, and its memory once it waits for
# input. Appends to the arrays named by the side.
startup_run() {
    local side=$1 window_class=$3 program
    read -ra program <<<"$2"
    rm -f "$settings"
    [ -z "${4:-}" ] || "$4"
    ask "icons 0" icons 0
    say icons 5
    local start=$EPOCHREALTIME
    launch "${program[@]}"
    hear
    local shown=$EPOCHREALTIME
    [[ $reply == "icons 5"* ]] || fail "$2: $reply"
    ask idle idle "$window_class"
    local rss private
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
    private=$(awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$pid/smaps_rollup")
    ask posted close "$window_class"
    eventually "the end of $2" ended "$pid"
    eval "${side}_startup+=($(elapsed_ms "$start" "$shown")) ${side}_rss+=($rss) ${side}_private+=($private)"
}

# --- the sweep ----------------------------------------------------------------

# Whether the pointer is over a window of the display rather than its root.
pointer_off_root() {
    [ "$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')" != "$root_window" ]
}

# Tamrik's icons come first in the tray, the bare program's five after them.
# Of Tamrik's default icons (MS-DOS, drives, minimize, restore, close) the
# third minimizes; any of the bare program's does.
declare -A minimize_icon=([tamrik]=2 [bare]=7)
# Puts the pointer on the side's minimize icon where the tray now stands;
# true once a window of the display is under it.
aim() {
    ask "icons 10" reach 10
    read -ra centres <<<"${reply#icons 10 }"
    local at=${centres[${minimize_icon[$1]}]}
    xdotool mousemove "${at%,*}" "${at#*,}"
    pointer_off_root
}
sweep_run() {
    local side=$1
    ask restored restore
    # Wine shows the restored tray before the window manager has mapped it
    # again, and the manager may place it anew: until it stands, a click at
    # the icon's centre as it was lands on the root window.
    eventually "Wine's tray on the display" aim "$side"
    local start=$EPOCHREALTIME
    xdotool click 1 mousemove 1020 760
    hear
    local done=$EPOCHREALTIME
    [ "$reply" = minimized ] || fail "$side sweep: $reply"
    eval "${side}_sweep+=($(elapsed_ms "$start" "$done"))"
}

# --- the run --------------------------------------------------------------------

stop_wine
rm -rf "$dir"
mkdir -p "$dir"
cp "$exe" "$dir/Tamrik.exe"
cp "$helpers/bare_tray.exe" "$helpers/bench_probe.exe" "$dir/"
trap finish EXIT
start_display
openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!
eventually "the window manager's start" wm_running
root_window=$(($(xwininfo -root | awk '/Window id:/ { print $4 }')))
coproc PROBE { cd "$dir" && exec "$loader" bench_probe.exe 2>/dev/null; }
hear
[ "$reply" = ready ] || fail "bench_probe.exe: $reply"

echo "measuring $exe, $runs runs of each side"
declare -a tamrik_startup=() tamrik_rss=() tamrik_private=() bare_startup=() bare_rss=() bare_private=()
declare -a tray_startup=() tray_rss=() tray_private=() tamrik_sweep=() bare_sweep=()
declare -a platform_startup=() platform_rss=() platform_private=()
# The sides take turns, and each run another goes first.
order() {
    local run=$1
    shift
    local sides=("$@") i
    for ((i = 0; i < ${#sides[@]}; i++)); do
        echo "${sides[(run + i) % ${#sides[@]}]}"
    done
}
# Tamrik as it starts by default, with its Properties window, and Tamrik
# with only its icons ("tray"), as the bare program; and the bare program
# with the platform's share of Tamrik's start ("platform").
for ((run = 0; run < runs; run++)); do
    for side in $(order "$run" tamrik bare tray platform); do
        case $side in
        tamrik) startup_run tamrik Tamrik.exe TApplication ;;
        tray) startup_run tray Tamrik.exe TApplication tray_only ;;
        bare) startup_run bare bare_tray.exe BareTray ;;
        platform) startup_run platform "bare_tray.exe controls window" BareTray ;;
        esac
    done
done

# For the sweep both run at once, each with its icons in the tray, and
# Tamrik without its Properties window on start.
tray_only
launch Tamrik.exe
tamrik_pid=$pid
ask "icons 5" icons 5
launch bare_tray.exe
bare_pid=$pid
ask "icons 10" icons 10
ask "windows $sweep_windows" windows "$sweep_windows"
for ((run = 0; run < runs; run++)); do
    for side in $(order "$run" tamrik bare); do
        sweep_run "$side"
    done
done
ask restored restore
ask posted close TApplication
ask posted close BareTray
eventually "the end of Tamrik.exe" ended "$tamrik_pid"
eventually "the end of bare_tray.exe" ended "$bare_pid"
finish
trap - EXIT

# The drives menu runs in a session of its own, on a drive of its own. Its
# walks of 100,000 directories take about a minute a run.
echo "bench: the drives menu over 5,000 and 100,000 directories, $runs runs (some minutes)"
drives=$("$root/tests/wine/wine-session.sh" "$build/wine" "$bits" "$helpers/drives_bench.exe" t "$runs" | tr -d '\r')
walk=$(sed -n 's/^bare FindFirstFileA walk: *\([0-9.]*\) ms.*/\1/p' <<<"$drives")
menu=$(sed -n 's/^drives menu build: *\([0-9.]*\) ms.*/\1/p' <<<"$drives")
[ -n "$walk" ] && [ -n "$menu" ] || fail "drives_bench.exe printed: $drives"

# A figure of both sides and their ratio, and the goal when there is one.
row() {
    awk -v figure="$1" -v tamrik="$2" -v bare="$3" -v goal="${4:-}" \
        'BEGIN { printf "%-32s %10.1f %10.1f %7.2f", figure, tamrik, bare, tamrik / bare
                 if (goal != "") printf "   at most %.2f", goal
                 print "" }'
}
echo
echo "medians of $runs runs; Tamrik is $exe"
printf '%-32s %10s %10s %7s   %s\n' figure Tamrik bare ratio goal
row "start-up to five icons (ms)" "$(median "${tamrik_startup[@]}")" "$(median "${bare_startup[@]}")" 1.3
row "memory, resident (KiB)" "$(median "${tamrik_rss[@]}")" "$(median "${bare_rss[@]}")" 1.3
row "memory, private (KiB)" "$(median "${tamrik_private[@]}")" "$(median "${bare_private[@]}")" 1.3
row "start-up, tray only (ms)" "$(median "${tray_startup[@]}")" "$(median "${bare_startup[@]}")" 1.3
row "resident, tray only (KiB)" "$(median "${tray_rss[@]}")" "$(median "${bare_rss[@]}")" 1.3
row "private, tray only (KiB)" "$(median "${tray_private[@]}")" "$(median "${bare_private[@]}")" 1.3
row "minimize $sweep_windows windows (ms)" "$(median "${tamrik_sweep[@]}")" "$(median "${bare_sweep[@]}")" 1.3
row "drives menu popup, depth 3 (ms)" "$menu" "$walk" 1.5
echo
echo "tray only, against the bare program that also loads the common controls"
echo "and shows and hides a window, as Tamrik's start must"
printf '%-32s %10s %10s %7s\n' figure Tamrik platform ratio
row "start-up, tray only (ms)" "$(median "${tray_startup[@]}")" "$(median "${platform_startup[@]}")"
row "resident, tray only (KiB)" "$(median "${tray_rss[@]}")" "$(median "${platform_rss[@]}")"
row "private, tray only (KiB)" "$(median "${tray_private[@]}")" "$(median "${platform_private[@]}")"
# The sweep's runs spread the most, with the whole display and the window
# manager taking part; each run's figure shows how far.
echo "sweep runs (ms), Tamrik: ${tamrik_sweep[*]}"
echo "sweep runs (ms), bare:   ${bare_sweep[*]}"
echo
echo "the drives menu (medians of $runs runs)"
sed -n '/^tree /,$p' <<<"$drives" | grep -v -e '^bare FindFirstFileA walk:' -e '^drives menu build:'

