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

# Two lanes side by side. The end-to-end scenarios (label e2e) each have an
# X display and a prefix copy of their own and spend most of their time
# waiting on Wine and on the pauses between clicks: three run at a time.
# Every other test keeps the processor busy: two at a time, as many as the
# machine has cores. The end-to-end lane's output follows the other's.
ctest_run() { ctest --test-dir "$build" --output-on-failure --timeout 600 "$@"; }
tests_in() { ctest --test-dir "$build" -N "$@" 2>/dev/null | sed -n 's/^Total Tests: //p'; }
log="$build/ctest.log"
e2e_log="$build/ctest-e2e.log"
: >"$e2e_log"
set +e
e2e_pid=""
if [ "$(tests_in -L e2e "$@")" != 0 ] && [ "$(tests_in -LE e2e "$@")" != 0 ]; then
  ctest_run -j3 -L e2e "$@" >"$e2e_log" 2>&1 &
  e2e_pid=$!
  ctest_run -j2 -LE e2e "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
else
  jobs=2
  [ "$(tests_in -L e2e "$@")" != 0 ] && jobs=3
  ctest_run --no-tests=error -j$jobs "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
fi
if [ -n "$e2e_pid" ]; then
  wait "$e2e_pid"
  e2e_rc=$?
  echo "== end-to-end scenarios =="
  cat "$e2e_log"
  cat "$e2e_log" >>"$log"
  [ "$rc" = 0 ] && rc=$e2e_rc
fi
set -e
# A case that skipped itself (or was not run) is not a pass: the run fails.
if [ "$rc" = 0 ] && grep -q 'The following tests did not run' "$log"; then
  echo "test.sh: some tests were skipped; a skipped test is not a pass" >&2
  rc=1
fi
exit "$rc"
