#!/usr/bin/env bash
# Prints the Windows architecture the tests are built for on this machine:
# win32 where the kernel runs 32-bit programs (so 32-bit Wine runs the shipped
# setup program itself), win64 where it does not. Some virtual machines run
# 64-bit code only; there 32-bit Wine could only run under an emulator, far too
# slowly for the test suite, so the same sources are tested as 64-bit
# programs under 64-bit Wine. SCRIVORA_TEST_ARCH overrides the choice.
set -euo pipefail
if [ -n "${SCRIVORA_TEST_ARCH:-}" ]; then
  echo "$SCRIVORA_TEST_ARCH"
elif [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
