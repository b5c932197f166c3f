#!/usr/bin/env bash
# Runs inside the namespace that enter_wine32 (env.sh) makes: registers
# qemu-i386 for 32-bit x86 programs in the namespace's own binfmt_misc, then
# runs the command.
#   emulated-32bit.sh QEMU COMMAND [ARGS...]
set -euo pipefail
qemu=$1
shift
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
# The ELF header of a 32-bit x86 program or library, as qemu's own binfmt
# table has it. F opens the emulator now, so that it is found whatever the
# mounts of the programs that start later.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf '%s' ":tamrik-i386:M::$magic:$mask:$qemu:F" >/proc/sys/fs/binfmt_misc/register
export TAMRIK_IN_EMULATION=1
exec "$@"
