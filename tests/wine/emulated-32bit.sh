#!/usr/bin/env bash
# Runs inside the namespace that enter_wine32 (env.sh) makes: registers
# qemu-i386 for 32-bit x86 programs in the namespace's own binfmt_misc, then
# runs the command.
#   emulated-32bit.sh QEMU COMMAND [ARGS...]
set -euo pipefail
. "$(dirname "$0")/env.sh"
qemu=$1
shift
register_i386 tamrik-i386 "$qemu"
export TAMRIK_IN_EMULATION=1
exec "$@"
