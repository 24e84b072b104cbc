#!/usr/bin/env bash
# Runs a test program under Wine with drive R: on a tmpfs of the given size
# (as mount takes it: 1m, 32m), so that its writes meet a full disk. The tmpfs
# is mounted here and reached through a link in the prefix's dosdevices
# folder; both go away afterwards, also when the test fails. Mounting needs
# root (as in CI); where it is refused the run ends with exit code 77, which
# ctest reports as skipped.
#   run_on_small_drive.sh <build> <size> <test.exe> [arguments...]
set -uo pipefail
build=$(cd "$1" && pwd); size=$2; exe=$3; shift 3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh" "$build"
"$here/../../scripts/wine-prefix.sh" "$build" >/dev/null || exit 1

skip_code=77
mount_point="$build/tests/faults/small-drive"
link="$WINEPREFIX/dosdevices/r:"

# A run killed on its timeout leaves its mount and link behind; take them back.
if mountpoint -q "$mount_point"; then umount "$mount_point" || umount -l "$mount_point"; fi
if [ -L "$link" ] && [ "$(readlink "$link")" = "$mount_point" ]; then rm -f "$link"; fi
if [ -e "$link" ] || [ -L "$link" ]; then
  echo "drive R: is already mapped in the test prefix ($link)"; exit 1
fi

mkdir -p "$mount_point"
if ! error=$(mount -t tmpfs -o "size=$size,mode=0777" scrivora-small-drive "$mount_point" 2>&1); then
  echo "SKIPPED: cannot mount a $size tmpfs for the full-disk cases: ${error:-mount failed}"
  rmdir "$mount_point" 2>/dev/null
  exit $skip_code
fi
cleanup() {
  rm -f "$link"
  umount "$mount_point" 2>/dev/null || umount -l "$mount_point"
  rmdir "$mount_point" 2>/dev/null
}
trap cleanup EXIT
ln -s "$mount_point" "$link"

SCRIVORA_SMALL_DRIVE=R: wine "$exe" "$@"
