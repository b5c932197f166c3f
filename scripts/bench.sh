#!/usr/bin/env bash
# Benchmarks under Wine, side by side with the bare platform doing the same
# work in the same run. Builds first.
#   bash scripts/bench.sh [RUNS]
# The drives menu: building it three levels deep over some 5,000
# directories, against a bare FindFirstFileA walk of the same tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAMRIK_BUILD:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
. "$root/tests/wine/env.sh"
"$root/tests/wine/make-prefix.sh" "$build/wine"
bits=32 arch=i686
if ! can_run_32bit; then
    bits=64 arch=x86_64
fi
# The session maps a fresh drive t: of its own, where the tree is made.
"$root/tests/wine/wine-session.sh" "$build/wine" "$bits" "$build/wintest-$arch/tests/bench/drives_bench.exe" t \
    "${1:-7}"
