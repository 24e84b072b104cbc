#!/usr/bin/env bash
# Installs what is missing, builds the setup program and its tests, and runs
# every test under Wine on a virtual X display. Extra arguments go to ctest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

scripts/bootstrap.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw

source scripts/display.sh
start_virtual_display
trap 'scripts/wine-prefix.sh build --stop; stop_virtual_display' EXIT
scripts/wine-prefix.sh build

ctest --preset mingw -j2 "$@"
