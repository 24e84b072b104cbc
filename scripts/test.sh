#!/usr/bin/env bash
# Installs what is missing, builds the setup program and its tests, and runs
# every test under Wine on a virtual X display. Extra arguments go to ctest.
#
# The tests are 32-bit programs, and the end-to-end tests drive the shipped
# build/ScrivoraSetup.exe itself. Where the kernel runs no 32-bit code, ctest
# runs under scripts/with-win32.sh, which emulates the 32-bit programs.
#
# SCRIVORA_BUILD chooses another build folder (default: build);
# SCRIVORA_TARGET builds only the given targets (space-separated).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=${SCRIVORA_BUILD:-build}

if [ "${1:-}" != "--inside" ]; then
  scripts/bootstrap.sh
  cmake --preset mingw -B "$build" >/dev/null
  cmake --build "$build" ${SCRIVORA_TARGET:+--target $SCRIVORA_TARGET}
  if ! scripts/native-i386.sh; then
    echo "test.sh: this kernel runs no 32-bit code; the 32-bit tests run under user-mode emulation" >&2
  fi
  exec scripts/with-win32.sh "$0" --inside "$@"
fi
shift

source scripts/display.sh
start_virtual_display
trap 'scripts/wine-prefix.sh "$build" --stop; stop_virtual_display' EXIT
scripts/wine-prefix.sh "$build"

# A case that skipped itself (or was not run) is not a pass: the run fails.
log="$build/ctest.log"
set +e
ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 600 -j2 "$@" 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
set -e
if [ "$rc" = 0 ] && grep -q 'The following tests did not run' "$log"; then
  echo "test.sh: some tests were skipped; a skipped test is not a pass" >&2
  rc=1
fi
exit "$rc"
