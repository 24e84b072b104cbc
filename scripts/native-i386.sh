#!/usr/bin/env bash
# Succeeds when this machine's kernel runs 32-bit x86 programs itself. Some
# virtual machines run 64-bit code only: there an i386 program fails with
# "Exec format error", and scripts/with-win32.sh runs 32-bit Wine under
# user-mode emulation instead. A program that only starts because an emulator
# is registered for i386 (here or by the host) does not count.
set -u
# SCRIVORA_EMULATE_I386=1 takes the emulated road even here, so that figures
# of the machines that need it (scripts/bench.sh) can be measured anywhere.
[ "${SCRIVORA_EMULATE_I386:-}" = 1 ] && exit 1
for entry in /proc/sys/fs/binfmt_misc/*i386*; do
  [ -e "$entry" ] && exit 1
done
/lib/ld-linux.so.2 --version >/dev/null 2>&1
