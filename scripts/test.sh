#!/usr/bin/env bash
# Installs what is missing, builds the setup program and its tests, and runs
# every test under Wine on a virtual X display. Extra arguments go to ctest.
#
# Where this machine's kernel runs 32-bit programs, the tests are 32-bit and
# run the shipped setup program itself. Where it does not (see
# scripts/test-arch.sh), the 32-bit setup program is built and checked as a
# file, and the tests, the setup program they drive included, are built from
# the same sources for 64-bit Windows and run under 64-bit Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# SCRIVORA_BUILD chooses another build folder (default: build, or build-win64
# for 64-bit tests); SCRIVORA_TARGET builds only the given targets
# (space-separated).
scripts/bootstrap.sh
arch=$(scripts/test-arch.sh)
if [ "$arch" = win64 ]; then
  build=${SCRIVORA_BUILD:-build-win64}
  echo "test.sh: this machine runs no 32-bit programs; tests are 64-bit builds of the same sources" >&2
  cmake --preset mingw -B build >/dev/null
  cmake --build build --target ScrivoraSetup
  cmake --preset mingw64 -B "$build" -DSCRIVORA_SHIPPING_EXE="$top/build/ScrivoraSetup.exe" >/dev/null
else
  build=${SCRIVORA_BUILD:-build}
  cmake --preset mingw -B "$build" >/dev/null
fi
cmake --build "$build" ${SCRIVORA_TARGET:+--target $SCRIVORA_TARGET}

source scripts/display.sh
start_virtual_display
trap 'scripts/wine-prefix.sh "$build" --stop; stop_virtual_display' EXIT
scripts/wine-prefix.sh "$build"

ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 600 -j2 "$@"
