#!/usr/bin/env bash
# Saves a picture of each of the wizard's four pages, for looking at them.
#   take_screenshots.sh <build> <locale> <name>
# Runs the built setup program under the locale (LC_ALL) on a virtual display
# and walks it as a user would: Enter (Next), a click on the first answer box
# (the display test needs an answer), Enter, Enter; Esc ends it. Writes
# <build>/screenshots/<name>-page<N>.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
locale=${2:?locale}
name=${3:?name}
out="$build/screenshots"
mkdir -p "$out"

source "$top/scripts/display.sh"
start_virtual_display
trap stop_virtual_display EXIT

LC_ALL="$locale" "$build/wine-run" "$build/ScrivoraSetup.exe" >/dev/null 2>&1 </dev/null &
program=$!
window=$(xdotool search --sync --onlyvisible --name '^Varnelo Scrivora Installer$' | head -1)
xdotool windowfocus --sync "$window"

shot() {
  sleep 0.7
  import -window "$window" "$out/$name-page$1.png"
}
shot 0
xdotool key Return
shot 1
# The answer box "OK" of the display test lies at about (226, 110) of the
# dialog's 460 x 215 units; a unit's size in pixels depends on the dialog
# font of the locale, so it is taken from the window's size (frame and
# caption included, about 3 and 22 pixels).
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" $((3 + 226 * (WIDTH - 6) / 460)) \
  $((22 + 110 * (HEIGHT - 25) / 215)) click 1
xdotool key Return
shot 2
xdotool key Return
shot 3
xdotool key Escape
wait "$program"
echo "$out/$name-page[0-3].png"
