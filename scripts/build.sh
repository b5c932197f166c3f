#!/usr/bin/env bash
# Configures and builds everything into build/ (or $TAMRIK_BUILD).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAMRIK_BUILD:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)"
