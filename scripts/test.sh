#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the Windows
# tests in-process under Wine, and the end-to-end tests of Tamrik.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# Two at a time, but for the tests marked to run alone (cmake/Host.cmake).
ctest --test-dir "${TAMRIK_BUILD:-$root/build}" --output-on-failure --parallel 2 "$@"
