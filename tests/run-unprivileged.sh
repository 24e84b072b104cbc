#!/usr/bin/env bash
# Runs a test program under Wine as the unprivileged user 65534, with a copy of
# the build tree's prefix owned by that user. As root Wine ignores read-only
# files; this is where tests of read-only handling can fail.
#   run-unprivileged.sh <build> <test.exe> [arguments...]
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

uid=65534
base="$build/unprivileged"
(
  flock 9
  if [ ! -f "$base/prefix/.scrivora-ready" ]; then
    "$(dirname "$0")/../scripts/wine-prefix.sh" "$build" >/dev/null
    wineserver -w || true
    rm -rf "$base"; mkdir -p "$base/home"
    cp -a "$WINEPREFIX" "$base/prefix"
    chown -R $uid:$uid "$base"
  fi
) 9>"$build/.unprivileged.lock"

# The test program must be readable by that user; copy it into its folder.
cp "$exe" "$base/test.exe"; chown $uid:$uid "$base/test.exe"
cd "$base"
exec setpriv --reuid=$uid --regid=$uid --clear-groups \
  env HOME="$base/home" WINEPREFIX="$base/prefix" TMPDIR="$base" SCRIVORA_EXPECT_READONLY=1 \
  bash -c 'wineserver -p5 2>/dev/null && wine wineboot >/dev/null 2>&1 </dev/null; wine "$0" "$@"; rc=$?; wineserver -k; exit $rc' \
  "$base/test.exe" "$@"
