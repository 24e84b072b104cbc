#!/usr/bin/env bash
# Installs what is missing, builds the setup program and starts it under Wine
# in the build tree's own prefix (never ~/.wine). Without a display it runs on
# a virtual one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

scripts/bootstrap.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target ScrivoraSetup

exe="$top/build/ScrivoraSetup.exe"
echo "setup program: $exe ($(stat -c %s "$exe") bytes)"

source scripts/display.sh
start_virtual_display
trap 'scripts/wine-prefix.sh build --stop; stop_virtual_display' EXIT
scripts/wine-prefix.sh build
source scripts/wine-env.sh build
set +e
wine "$exe"
echo "exit code: $?"
