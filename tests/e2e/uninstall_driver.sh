# Sourced by run_e2e.sh: the uninstall scenarios. After an install through the
# wizard they start the installed uninstaller the way its Start-menu entry
# does (the target of the shortcut), answer it with real clicks and look at
# what is left from outside.

ID_ANSWER_YES=6
MSG_UNINSTALL_HELD="Not removed, in use by another program: "

# Starts the target of a shortcut file (a Unix path) in the background;
# E2E_UNINSTALL_PID is its process.
start_shortcut_target() {
  local target
  target=$(inspect lnk "Z:${1//\//\\}" | sed -n 's/^target=//p')
  [ -n "$target" ] || { e2e_log "no target in $1"; return 1; }
  e2e_log "starting $target"
  wine "$target" </dev/null >/dev/null 2>&1 &
  E2E_UNINSTALL_PID=$!
}

# Holds a file (a Windows path) open without sharing in the background until
# release_held_file; waits until the hold has begun.
hold_file() {
  local flag="$E2E_WORK/held.flag" i
  rm -f "$flag"
  wine "$E2E_BUILD/tests/e2e/inspect.exe" hold "$1" "Z:${flag//\//\\}" 240 </dev/null >/dev/null 2>&1 &
  E2E_HOLD_PID=$!
  for ((i = 0; i < 150; i++)); do [ -e "$flag" ] && return 0; sleep 0.2; done
  e2e_log "the hold on $1 did not begin"; return 1
}
release_held_file() { kill "$E2E_HOLD_PID" 2>/dev/null || true; wait "$E2E_HOLD_PID" 2>/dev/null || true; }

# Answers the uninstaller's message whose English line starts with `english`.
answer_message_starting() {
  local english=$1 id=$2 shot=$3 i text
  await_message "$english" prefix || return 1
  text=$E2E_MESSAGE_TEXT
  e2e_log "message: $text"
  screenshot "$shot"
  click "$MESSAGE_CAPTION" "$id"
  # The next message may follow under the same caption: wait for this text to go.
  for ((i = 0; i < 100; i++)); do
    [ "$(inspect text "$MESSAGE_CAPTION" 1028)" = "$text" ] || return 0
    sleep 0.2
  done
  e2e_log "message '$text' was not answered"; return 1
}

# The names a folder holds, one a line, sorted.
folder_names() { [ -d "$1" ] && (cd "$1" && ls -A | LC_ALL=C sort); }

# Read-only and hidden of a file as Wine stores them: "R-", "RH", "-H" or "--".
attribute_letters() {
  python3 - "$1" <<'PY'
import os, sys
p = sys.argv[1]
ro = not (os.stat(p).st_mode & 0o222)
try:
    hidden = bool(int(os.getxattr(p, "user.DOSATTRIB").split(b"\0")[0], 16) & 2)
except OSError:
    hidden = False
print(("R" if ro else "-") + ("H" if hidden else "-"))
PY
}

# Waits until the uninstaller's temporary copy has removed the original and
# scheduled its own deletion; prints the copy's Windows path.
wait_self_removal() {
  local folder=$1 i out
  for ((i = 0; i < 300; i++)); do
    if [ ! -e "$folder/ZEKEditUnInstall.exe" ]; then
      out=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
              /v PendingFileRenameOperations 2>/dev/null </dev/null | tr -d '\r' | grep -o 'ZKU[0-9A-F]*\.EXE' | head -n1)
      [ -n "$out" ] && { echo "$out"; return 0; }
    fi
    sleep 0.2
  done
  e2e_log "the uninstaller did not remove itself"; return 1
}

# After the uninstaller was answered Yes with nothing of the user's in the
# folder: it ends with 0, removes itself, and nothing of the product is left,
# neither the install folder nor the Start-menu folder nor a desktop shortcut.
expect_all_removed() {
  local start_menu=$1 desktop=$2 rc=0
  wait "$E2E_UNINSTALL_PID" || rc=$?
  [ "$rc" = 0 ] || fail "uninstaller exit code $rc"
  wait_self_removal "$folder_unix" >/dev/null || fail "no self-removal"
  for _ in $(seq 1 50); do [ -e "$folder_unix" ] || break; sleep 0.2; done
  [ ! -e "$folder_unix" ] || fail "install folder left: $(folder_names "$folder_unix" | tr '\n' '|')"
  [ ! -e "$start_menu" ] || fail "Start-menu folder left: $(folder_names "$start_menu" | tr '\n' '|')"
  ! ls "$desktop/"*.lnk >/dev/null 2>&1 || fail "desktop shortcuts left"
}

# The uninstaller's files in the temporary folder (its copy and the batch
# file that deletes it), one a line.
temp_uninstaller_files() { (cd "$E2E_USER_DIR/Temp" && ls -A | grep -i '^ZKU') || true; }
