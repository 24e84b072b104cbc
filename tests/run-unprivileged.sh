#!/usr/bin/env bash
# Runs a test program under Wine as an unprivileged user, with a copy of the
# build tree's prefix of its own. As root Wine ignores read-only files; this is
# where tests of read-only handling can fail.
#   run-unprivileged.sh <build> <test.exe> [arguments...]
#
# As root, the program runs in a user namespace of its own in which it is the
# user 65534 and owns the prefix copy (made by root outside), with no
# capabilities: the kernel then refuses its writes to read-only files as it
# would any other user's. This also works inside scripts/with-win32.sh, whose
# emulator registration the nested namespace inherits.
set -euo pipefail
build=$(cd "$1" && pwd); shift
exe=$1; shift
source "$(dirname "$0")/../scripts/wine-env.sh" "$build"
export SCRIVORA_EXPECT_READONLY=1

if [ "$(id -u)" -ne 0 ]; then
  # Already unprivileged: read-only is enforced in the normal prefix.
  "$(dirname "$0")/../scripts/wine-prefix.sh" "$build" >/dev/null
  exec wine "$exe" "$@"
fi

base="$build/unprivileged"
(
  flock 9
  if [ ! -f "$base/prefix/.scrivora-ready" ]; then
    "$(dirname "$0")/../scripts/wine-prefix.sh" "$build" >/dev/null
    rm -rf "$base"; mkdir -p "$base/home"
    wine_copy_prefix "$SCRIVORA_PRISTINE_PREFIX" "$base/prefix"
  fi
) 9>"$build/.unprivileged.lock"

cd "$base"
# The check inside makes sure the case really runs without privileges: a
# write to a read-only file must fail, or the test would prove nothing.
exec unshare --user --map-user=65534 --map-group=65534 \
  env HOME="$base/home" WINEPREFIX="$base/prefix" TMPDIR="$base" SCRIVORA_EXPECT_READONLY=1 \
  bash -c '
    probe=$(mktemp); chmod 444 "$probe"
    if (echo x >>"$probe") 2>/dev/null; then
      echo "run-unprivileged.sh: read-only files are writable here; refusing to run" >&2; exit 1
    fi
    rm -f "$probe"
    wineserver -p5 2>/dev/null && wine wineboot >/dev/null 2>&1 </dev/null
    wine "$0" "$@"; rc=$?; wineserver -k; exit $rc' \
  "$exe" "$@"
