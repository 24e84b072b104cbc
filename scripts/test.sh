#!/usr/bin/env bash
# Installs what is missing, builds the setup program and its tests, and runs
# every test under Wine on a virtual X display. Extra arguments go to ctest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# SCRIVORA_BUILD chooses another build folder (default: build);
# SCRIVORA_TARGET builds only the given targets (space-separated).
build=${SCRIVORA_BUILD:-build}

scripts/bootstrap.sh
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" ${SCRIVORA_TARGET:+--target $SCRIVORA_TARGET}

source scripts/display.sh
start_virtual_display
trap 'scripts/wine-prefix.sh "$build" --stop; stop_virtual_display' EXIT
scripts/wine-prefix.sh "$build"

ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 600 -j2 "$@"
