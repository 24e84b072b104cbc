#!/usr/bin/env bash
# Runs one end-to-end scenario (run_e2e.sh) on an X display of its own, so
# that scenarios can run side by side: each has its own pointer, keyboard
# focus and Wine server (its own prefix copy). When the scenario passes, its
# prefix copy and home go; when it fails they stay, with the screenshots,
# under <build>/e2e/<scenario>.
#   run_isolated.sh <source> <build> <scenario>
set -uo pipefail
source "$1/scripts/display.sh"
start_virtual_display 1024x768 || exit 1
"$1/tests/e2e/run_e2e.sh" "$@"
rc=$?
stop_virtual_display
if [ "$rc" = 0 ]; then
  rm -rf "$2/e2e/$3/prefix" "$2/e2e/$3/home"
fi
exit "$rc"
