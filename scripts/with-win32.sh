#!/usr/bin/env bash
# Runs a command in which 32-bit Windows programs can run under Wine:
#   scripts/with-win32.sh <command> [arguments...]
#
# Where the kernel runs 32-bit programs itself, the command simply runs.
# Where it does not (some virtual machines run 64-bit code only), the command
# runs in a private user and mount namespace in which qemu-user is registered
# through binfmt_misc as the interpreter of 32-bit x86 programs. The
# registration lives in that namespace's own binfmt_misc instance (Linux 6.7
# and later), so nothing outside it changes and nothing is left behind when the
# command ends.
#
# Inside, the user is root of the namespace; run-unprivileged cases make a
# nested namespace of their own (tests/run-unprivileged.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = "--inside" ]; then
  shift
  qemu=$1; shift
  binfmt=/proc/sys/fs/binfmt_misc
  mount -t binfmt_misc binfmt_misc "$binfmt"
  # ELF, 32-bit, little-endian, executable or shared object, machine i386; the
  # mask leaves out the OS/ABI bytes and the low bit of e_type. "F" opens the
  # interpreter now, so it need not be visible from the program's own root.
  magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':scrivora-i386:M::%s:%s:%s:F' "$magic" "$mask" "$qemu" >"$binfmt/register"
  exec "$@"
fi

[ $# -gt 0 ] || { echo "usage: $0 <command> [arguments...]" >&2; exit 2; }

if "$here/native-i386.sh"; then
  exec "$@"
fi

qemu=""
for candidate in qemu-i386 qemu-i386-static; do
  if command -v "$candidate" >/dev/null 2>&1; then
    qemu=$(command -v "$candidate")
    break
  fi
done
if [ -z "$qemu" ]; then
  echo "with-win32.sh: this kernel runs no 32-bit programs and qemu-i386 is missing (scripts/bootstrap.sh installs it)" >&2
  exit 1
fi
exec unshare --user --map-root-user --mount --propagation private \
  "$here/with-win32.sh" --inside "$qemu" "$@"
