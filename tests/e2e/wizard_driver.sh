# Sourced: drives the real setup program under Wine with real mouse and
# keyboard input on an X display (xdotool), as a user would, and looks at the
# result from outside. Used by the end-to-end test and by scripts/run.sh.
#
# Needs: DISPLAY, and E2E_BUILD (the build folder), E2E_WORK (a folder of the
# run's own: its Wine prefix, home and screenshots go there).

WIZARD_CAPTION="Varnelo Scrivora Installer"
MESSAGE_CAPTION="Morvalen Install Message"

# Control identifiers the driver clicks.
ID_OK=1; ID_CANCEL=2; ID_BACK=3; ID_NEXT=1001; ID_FOLDER_PATH=1002
ID_DESKTOP_ICONS=1004; ID_DISPLAY_OK=1007; ID_DISPLAY_BAD=1008; ID_ENGLISH_AGREEMENT=1010
ID_LANGUAGE_LIST=1031

e2e_log() { echo "[e2e $(date +%T)] $*" >&2; }


# A fresh prefix for this run: a copy of the build tree's template prefix.
e2e_prepare_prefix() {
  "$E2E_SOURCE/scripts/wine-prefix.sh" "$E2E_BUILD" >/dev/null
  source "$E2E_SOURCE/scripts/wine-env.sh" "$E2E_BUILD"
  rm -rf "$E2E_WORK/prefix" "$E2E_WORK/home"
  mkdir -p "$E2E_WORK/home" "$E2E_WORK/screenshots"
  wine_copy_prefix "$SCRIVORA_PRISTINE_PREFIX" "$E2E_WORK/prefix"
  export WINEPREFIX="$E2E_WORK/prefix" HOME="$E2E_WORK/home"
  E2E_USER_DIR="$WINEPREFIX/drive_c/users/$(id -un)"
  wine_warm_up wine || true
}

e2e_stop_prefix() { wineserver -k 2>/dev/null || true; }

inspect() { wine "$E2E_BUILD/tests/e2e/inspect.exe" "$@" 2>/dev/null </dev/null | tr -d '\r'; }

# Waits until a top-level window with the caption is visible (or gone).
# The waits are times, scaled where 32-bit code runs emulated (E2E_WAIT_SCALE
# below), not numbers of looks: a look starts a Wine program, which takes
# seconds of its own on a loaded machine, and a count of looks could then
# outlast the test's own time limit before the wait says what it missed.
wait_window() {
  local caption=$1 deadline=$((SECONDS + ${2:-30} * E2E_WAIT_SCALE))
  until [ "$(inspect visible "$caption" 0)" = 1 ]; do
    [ "$SECONDS" -lt "$deadline" ] || { e2e_log "window '$caption' did not appear"; return 1; }
    sleep 0.2
  done
}
wait_window_gone() {
  local caption=$1 deadline=$((SECONDS + ${2:-30} * E2E_WAIT_SCALE))
  while [ "$(inspect visible "$caption" 0)" = 1 ]; do
    [ "$SECONDS" -lt "$deadline" ] || { e2e_log "window '$caption' did not go away"; return 1; }
    sleep 0.2
  done
}

# Moves the pointer to x y and waits until the X server has it there. A
# pointer already there is left alone: --sync waits for a motion that then
# never comes, about 15 s (Next sits in one place on every page).
move_pointer() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell 2>/dev/null)"
  [ "${X:-}" = "$1" ] && [ "${Y:-}" = "$2" ] && return 0
  xdotool mousemove --sync "$1" "$2"
}

# Clicks a control with the real mouse: at its centre, or at an offset from
# its left edge (check boxes are clicked on their box).
click() {
  local caption=$1 id=$2 dx=${3:-} rect x y w h
  rect=$(inspect rect "$caption" "$id") || { e2e_log "no control $id in '$caption'"; return 1; }
  read -r x y w h <<<"$rect"
  if [ -n "$dx" ]; then x=$((x + dx)); else x=$((x + w / 2)); fi
  y=$((y + h / 2))
  # Move first and let Wine see the pointer arrive, then click.
  move_pointer "$x" "$y"
  sleep 0.2
  xdotool click 1
  sleep 0.3
}

# Keys go to the window that has the X input focus: give it to the wizard first.
keys() {
  local caption=$1; shift
  local w
  w=$(xdotool search --onlyvisible --name "^$caption\$" | head -n1)
  if [ -n "$w" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" != "$w" ]; then
    xdotool windowfocus --sync "$w" 2>/dev/null
    sleep 0.5
  fi
  xdotool "$@"
  sleep 0.3
}

screenshot() { import -window root "$E2E_WORK/screenshots/$1.png" 2>/dev/null || true; }

# Starts the setup program in the background; E2E_PID is its process.
start_setup() {
  wine "$E2E_BUILD/ScrivoraSetup.exe" </dev/null >/dev/null 2>&1 &
  E2E_PID=$!
  wait_window "$WIZARD_CAPTION" 60
}

# Waits for the setup program to end; prints its exit code.
setup_exit_code() {
  local rc=0
  wait "$E2E_PID" || rc=$?
  echo "$rc"
}

# How long the driver waits for a message, in seconds. Where 32-bit code runs
# emulated, every program of the test starts and answers several times
# slower (inspect alone takes about half a second there), so the wait is a
# time and not a number of looks.
E2E_WAIT_SCALE=${E2E_WAIT_SCALE:-$("$E2E_SOURCE/scripts/native-i386.sh" && echo 1 || echo 3)}
E2E_MESSAGE_WAIT=$((60 * E2E_WAIT_SCALE))

# Logs every top-level window of caption $1 as inspect sees it, with its
# control $2; inspect's own errors and exit code too, which the inspect
# function above keeps quiet.
log_inspected_windows() {
  { wine "$E2E_BUILD/tests/e2e/inspect.exe" windows "$1" "$2" 2>&1 </dev/null | tr -d '\r' ||
      echo "none (inspect's exit code $?)"; } | while read -r line; do e2e_log "  $line"; done
}

# Waits until the message box's English line reads `english` (with "prefix"
# as the second argument: starts with it); E2E_MESSAGE_TEXT is the line.
# When it gives up it logs every window of the message caption, which tells
# a message that never came from another message or one that was not read.
await_message() {
  local english=$1 how=${2:-whole} deadline=$((SECONDS + E2E_MESSAGE_WAIT)) text
  while :; do
    # (No window yet is a failing inspect; only what it read counts.)
    text=$(inspect text "$MESSAGE_CAPTION" 1028 || true)
    case $how in
    whole) [ "$text" = "$english" ] && break ;;
    prefix) [ "${text#"$english"}" != "$text" ] && break ;;
    esac
    if [ "$SECONDS" -ge "$deadline" ]; then
      e2e_log "no message '$english' within $E2E_MESSAGE_WAIT s; the windows '$MESSAGE_CAPTION':"
      log_inspected_windows "$MESSAGE_CAPTION" 1028
      e2e_log "the wizard's windows, as inspect sees them:"
      log_inspected_windows "$WIZARD_CAPTION" 0
      e2e_log "X windows named '$MESSAGE_CAPTION': $(xdotool search --name "^$MESSAGE_CAPTION\$" 2>/dev/null | tr '\n' ' ')"
      e2e_log "the Wine processes:"
      pgrep -a -f 'wine|\.exe' 2>/dev/null | head -n 60 | while read -r line; do e2e_log "  $line"; done
      return 1
    fi
    sleep 0.2
  done
  E2E_MESSAGE_TEXT=$text
}

# Answers the message box whose English line reads `english` with the button
# of the given identifier. Message boxes follow each other under one caption,
# so the English line tells them apart.
answer_message() {
  local english=$1 id=$2 shot=$3 i
  await_message "$english" || return 1
  screenshot "$shot"
  click "$MESSAGE_CAPTION" "$id"
  for ((i = 0; i < 50; i++)); do
    [ "$(inspect text "$MESSAGE_CAPTION" 1028)" = "$english" ] || return 0
    sleep 0.2
  done
  e2e_log "message '$english' was not answered"; return 1
}

MSG_SUCCESS="Congratulations! Installation Success!"
MSG_SPEECH="Now install sound module SAPI5.1 from Microsoft."
MSG_BAD_FOLDER="Cannot create folder! Please check folder path."
MSG_NEEDS_INSTALLER="The speech module needs Windows Installer, which this system cannot start. Not installed."

# Everything under the prefix's Windows folder, one path a line, sorted.
windows_folder_listing() { (cd "$WINEPREFIX/drive_c/windows" && find . | LC_ALL=C sort); }

# The default way through the wizard: Next, the sample shows correctly, Next,
# Next, Install; accept the congratulation and the speech-module offer.
# The speech module is accepted unless another button (and screenshot name)
# is given: walk_default_install [button] [screenshot].
walk_default_install() {
  local speech_button=${1:-$ID_OK} speech_shot=${2:-message_speech_module}
  walk_to_install
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  answer_message "$MSG_SPEECH" "$speech_button" "$speech_shot"
}

# The default way through the wizard up to and with the Install press.
walk_to_install() {
  walk_to_last_page
  click "$WIZARD_CAPTION" $ID_NEXT
}

# The default way through the wizard to its last page, before the Install
# press, for a caller that times or watches the press itself.
walk_to_last_page() {
  screenshot page0
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page1
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page2
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page3
}

# The shell opens a window on a Program Manager group it has made, over the
# setup program's messages; the user has a look and closes it with its close
# box. The setup program's next message may already be up by then and hold
# the keyboard (Alt+F4 sent to the group window then closed nothing), while
# the close box takes the click whatever window has the keyboard.
close_group_window() {
  local caption=$1 window WINDOW X Y WIDTH HEIGHT SCREEN
  window=$(timeout 120 xdotool search --sync --onlyvisible --name "^$caption\$" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] || { e2e_log "no window of the group '$caption'"; return 1; }
  sleep 1
  screenshot program_manager_group
  eval "$(xdotool getwindowgeometry --shell "$window")"
  move_pointer $((X + WIDTH - 12)) $((Y + 12))
  sleep 0.2
  xdotool click 1
  for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  screenshot group_window_left
  e2e_log "the window of the group '$caption' did not close"; return 1
}

# Picks entry `index` (from 0) of a drop-down list with the mouse: one click
# opens the list under the field, a second click on the entry chooses it.
choose_list_entry() {
  local caption=$1 id=$2 index=$3 x y w h item
  read -r x y w h <<<"$(inspect rect "$caption" "$id")"
  item=$(inspect itemheight "$caption" "$id")
  click "$caption" "$id"
  move_pointer $((x + w / 2)) $((y + h + item * index + item / 2))
  sleep 0.2
  xdotool click 1
  sleep 0.3
}
