#!/usr/bin/env bash
# Proves the emulated way of running 32-bit programs (env.sh) on any
# machine, where the README's test command takes it only if the kernel runs
# no 32-bit code. The lane runs as on such a machine: in a namespace of its
# own where every 32-bit x86 program fails to start, as there, from a
# prefix made afresh, it runs the pins of what a 32-bit program sees under
# WOW64 and the WOW64 lane's check that it runs the shipped 32-bit exe.
# Run after a build.
#   emulated-lane.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$here/env.sh"
if [ -z "${TAMRIK_NO_NATIVE_32BIT:-}" ]; then
    TAMRIK_EMULATE_32BIT=1 "$root/scripts/setup.sh"
    TAMRIK_NO_NATIVE_32BIT=1 exec unshare --user --map-root-user --mount -- "$BASH" "$0" "$@"
fi
# A 32-bit program handed to false fails as on a kernel without 32-bit
# emulation, so only enter_wine32's nested namespace can start one.
register_i386 tamrik-no-i386 /bin/false
[ "$(wine32_mode)" = emulated ] || { echo "FAIL: 32-bit programs still run natively here" >&2; exit 1; }
build=$(cd "$1" && pwd)
prefix=$build/wine-emulated
rm -rf "$prefix"
trap 'rm -rf "$prefix"' EXIT
"$here/make-prefix.sh" "$prefix"
"$here/wine-session.sh" "$prefix" 32 "$build/wintest-i686/tests/win/win_tests.exe" --gtest_filter='Wow64.*'
"$root/tests/e2e/run-e2e.sh" "$prefix" "$build/e2e_tests" "$build" wow64 \
    --gtest_filter=TamrikRun.LaneRunsTheProgramItNames
echo "the emulated 32-bit lane passes from a prefix made afresh"
