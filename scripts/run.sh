#!/usr/bin/env bash
# Installs what is missing, builds the setup program and starts it under Wine
# in a prefix of the project's own (build/run/prefix, never ~/.wine).
#
# Where the kernel runs no 32-bit code, the shipped program still runs, under
# scripts/with-win32.sh, which emulates 32-bit programs. With a display, you
# walk the wizard yourself. Without one, the program runs on a virtual display and the wizard is walked through its default choices
# with real mouse clicks; then the installed folder, the shortcuts and the
# updated configuration are printed, and screenshots of every page and of the
# final messages are saved under build/run/screenshots.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if [ "${1:-}" != "--inside" ]; then
  scripts/bootstrap.sh
  cmake --preset mingw >/dev/null
  cmake --build build --target ScrivoraSetup inspect
  echo "setup program: $top/build/ScrivoraSetup.exe ($(stat -c %s "$top/build/ScrivoraSetup.exe") bytes)"
  if ! scripts/native-i386.sh; then
    echo "this kernel runs no 32-bit code: the shipped 32-bit program runs under user-mode emulation (qemu-user)"
  fi
  exec scripts/with-win32.sh "$0" --inside
fi
exe="$top/build/ScrivoraSetup.exe"
export E2E_SOURCE="$top" E2E_BUILD="$top/build" E2E_WORK="$top/build/run"
source scripts/display.sh
source tests/e2e/wizard_driver.sh

interactive=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then interactive=1; fi
start_virtual_display
trap 'e2e_stop_prefix; stop_virtual_display' EXIT
e2e_prepare_prefix

if [ $interactive = 1 ]; then
  wine "$exe" </dev/null
  echo "exit code: $?"
  exit 0
fi

echo "no display: walking the wizard on a virtual display with its default choices"
start_setup
walk_default_install
echo "exit code: $(setup_exit_code)"
python3 tests/e2e/check_install.py "$top" "$top/build" "$WINEPREFIX/drive_c/Zelko" \
  --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder --summary || true
echo "speech module package: $(ls -l "$E2E_USER_DIR/Temp/Sapi51forZelko.msi" 2>/dev/null || echo missing)"
echo "screenshots: $(ls "$E2E_WORK/screenshots" | tr '\n' ' ')"
echo "in $E2E_WORK/screenshots"
