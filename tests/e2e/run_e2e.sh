#!/usr/bin/env bash
# End-to-end: the real setup program in a fresh Wine prefix, driven only with
# real mouse and keyboard input on the X display, checked from outside.
#   run_e2e.sh <source> <build> <scenario>
# Scenarios: default, other_choices, bad_folder, cancel, no_msi, uninstall,
# uninstall_english, uninstall_old_shell, uninstall_win98, program_manager,
# high_contrast, busy_input, small_screen, silent, silent_old_windows,
# second_run, dpi_144, dpi_192, and on Chinese systems traditional, simplified,
# uninstall_traditional, program_manager_traditional, silent_traditional,
# narrow_face_simplified and narrow_face_traditional
set -euo pipefail
export E2E_SOURCE=$1 E2E_BUILD=$2
scenario=$3
export E2E_WORK="$E2E_BUILD/e2e/$scenario"
source "$E2E_SOURCE/tests/e2e/wizard_driver.sh"
source "$E2E_SOURCE/tests/e2e/screen_checks.sh"

fail() { echo "FAIL: $*"; screenshot failure; exit 1; }

# A Chinese system: Wine takes the code page from LC_ALL, and with a real
# glibc locale (compiled into the build tree, found through LOCPATH) it names
# Unix files in UTF-8, so Chinese Start-menu names can be made at all.
case "$scenario" in
traditional|uninstall_traditional|program_manager_traditional|silent_traditional)
  chinese_locale=zh_TW system_language=2 ;;
simplified) chinese_locale=zh_CN system_language=1 ;;
narrow_face_traditional) chinese_locale=zh_TW system_language=2 ;;
narrow_face_simplified) chinese_locale=zh_CN system_language=1 ;;
*) chinese_locale="" system_language=0 ;;
esac
if [ -n "$chinese_locale" ]; then
  "$E2E_SOURCE/scripts/make-locales.sh" "$E2E_BUILD/locale"
  export LOCPATH="$E2E_BUILD/locale" LC_ALL="$chinese_locale.UTF-8"
fi

e2e_prepare_prefix
trap e2e_stop_prefix EXIT
folder_unix="$WINEPREFIX/drive_c/Zelko"
temp_msi="$E2E_USER_DIR/Temp/Sapi51forZelko.msi"
speech_installed="$E2E_USER_DIR/AppData/Local/ZelkoSpeechStandIn/README.txt"
start_menu="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zelko Scrivora"

check() { python3 "$E2E_SOURCE/tests/e2e/check_install.py" "$E2E_SOURCE" "$E2E_BUILD" "$@"; }

# Types a new path into the path field of page 0. Right after a message box
# closes, Wine may drop the first keys while the wizard takes the focus back,
# so a second try is allowed before the driver gives up.
type_path() {
  local attempt
  for attempt in 1 2; do
    click "$WIZARD_CAPTION" $ID_FOLDER_PATH
    keys "$WIZARD_CAPTION" key End
    keys "$WIZARD_CAPTION" key --repeat 60 --delay 10 BackSpace
    keys "$WIZARD_CAPTION" type --delay 30 "$1"
    [ "$(inspect text "$WIZARD_CAPTION" $ID_FOLDER_PATH)" = "$1" ] && return 0
  done
  fail "path field reads '$(inspect text "$WIZARD_CAPTION" $ID_FOLDER_PATH)'"
}

# Light pixels (grey level above 60 %) that screenshot $1 shows in control $3
# of window $2, in its first $4 columns when given.
light_pixels() {
  local x y w h
  read -r x y w h <<<"$(inspect rect "$2" "$3")"
  [ -n "${4:-}" ] && w=$4
  convert "$E2E_WORK/screenshots/$1.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray \
    -threshold 60% -format '%[fx:round(mean*w*h)]' info:
}
# On a black face, a caption's strokes must show light.
expect_light() {
  local n
  n=$(light_pixels "$@")
  [ "$n" -gt 30 ] || fail "$1: control $3 of '$2' shows $n light pixels"
}

# Waits for the message box whose English line reads $1 and takes screenshot $2.
wait_message() {
  await_message "$1" || fail "no message '$1'"
  screenshot "$2"
}

# Visible controls of window $1 not wholly on the screen, but for those of
# the list $2 (identifiers with spaces around them).
expect_on_screen() {
  local id rest
  while read -r id rest; do
    [ -n "$id" ] || continue
    case " $2 " in *" $id "*) continue ;; esac
    fail "control $id of '$1' is not on the screen: $rest"
  done <<<"$(inspect offscreen "$1")"
}

# Silent runs, as a deployment tool starts them: the program in the
# background, the display searched throughout for a window of its own (the
# wizard, a message, the list of switches, or any window of its process);
# E2E_SILENT_RC is the exit code as the shell sees it (modulo 256),
# E2E_SILENT_MS the run's wall time.
SETUP_WINDOWS="^($WIZARD_CAPTION|$MESSAGE_CAPTION|Zelko Scrivora setup)\$"
run_silent() {
  local pid seen="" t0
  t0=$(date +%s%N)
  wine "$@" </dev/null >/dev/null 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    # (xdotool finding nothing is the good case: its status is not looked at.)
    seen=$( { xdotool search --onlyvisible --name "$SETUP_WINDOWS"; xdotool search --onlyvisible --pid "$pid"; } \
      2>/dev/null | head -n1 || true)
    [ -z "$seen" ] || break
    sleep 0.1
  done
  [ -z "$seen" ] || { screenshot silent_window; fail "a window showed during the silent run of $*"; }
  E2E_SILENT_RC=0; wait "$pid" || E2E_SILENT_RC=$?
  E2E_SILENT_MS=$(( ($(date +%s%N) - t0) / 1000000 ))
}
ENTRY_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\ZelkoScrivora'
# A value of the uninstall entry in hive $1 (HKCU or HKLM), empty when none.
entry_value() {
  wine reg query "$1\\$ENTRY_KEY" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z]* *//p"
}
# Runs the entry's QuietUninstallString as a tool does: the quoted program and
# its switch. Where the folder's name is Chinese, reg prints it in the console's
# code page, which the shell cannot hand back to Wine: the program is then
# started by the name setup was given ($2), the switch still taken from the entry.
quiet_uninstall() {
  local command program
  command=$(entry_value "$1" QuietUninstallString)
  [ -n "$command" ] || fail "no QuietUninstallString in $1"
  program=${command#\"}; program=${program%%\"*}
  [ "$command" = "\"$program\" /S" ] || fail "QuietUninstallString: $command"
  [ -n "${2:-}" ] && program=$2
  run_silent "$program" /S
  [ "$E2E_SILENT_RC" = 0 ] || fail "quiet uninstall: exit code $E2E_SILENT_RC"
}
# After a quiet uninstall: the folder (its copy in Temp removes the last of
# it), the Start-menu folder and the entry are gone.
expect_quietly_removed() {
  local unix=$1 hive=$2 i
  for ((i = 0; i < 300; i++)); do [ -e "$unix" ] || break; sleep 0.2; done
  [ ! -e "$unix" ] || fail "install folder left: $(ls -A "$unix" | tr '\n' '|')"
  [ ! -e "$start_menu" ] || fail "Start-menu folder left"
  ! ls "$E2E_USER_DIR/Desktop/"*.lnk >/dev/null 2>&1 || fail "desktop shortcuts left"
  [ -z "$(entry_value "$hive" InstallLocation)" ] || fail "the uninstall entry is left in $hive"
}
# Entries that runs of other tests left in the template prefix are not this run's.
for hive in HKCU HKLM; do wine reg delete "$hive\\$ENTRY_KEY" /f >/dev/null 2>&1 </dev/null || true; done

start=$(date +%s)
case "$scenario" in
default)
  start_setup
  [ "$(inspect text "$WIZARD_CAPTION" $ID_FOLDER_PATH)" = 'C:\Zelko' ] || fail "path field does not start as C:\\Zelko"
  walk_default_install
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  [ -f "$temp_msi" ] || fail "speech-module package not written to the temporary folder"
  for _ in $(seq 1 150); do [ -f "$speech_installed" ] && break; sleep 0.2; done
  [ -f "$speech_installed" ] || fail "msiexec did not install the opened package"
  ;;
other_choices)
  start_setup
  click "$WIZARD_CAPTION" $ID_DESKTOP_ICONS 8          # desktop icons off
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_DISPLAY_BAD 8             # the sample does not show correctly
  click "$WIZARD_CAPTION" $ID_NEXT
  # On a Windows that is not Chinese the English agreement comes first;
  # switch to the Chinese one and back.
  [ "$(inspect visible "$WIZARD_CAPTION" 1014)" = 1 ] || fail "English agreement not shown first"
  click "$WIZARD_CAPTION" $ID_ENGLISH_AGREEMENT 8
  [ "$(inspect visible "$WIZARD_CAPTION" 1019)" = 1 ] || fail "Chinese agreement not shown"
  screenshot page2_chinese
  click "$WIZARD_CAPTION" $ID_ENGLISH_AGREEMENT 8
  [ "$(inspect visible "$WIZARD_CAPTION" 1014)" = 1 ] || fail "English agreement not shown again"
  click "$WIZARD_CAPTION" $ID_NEXT
  choose_list_entry "$WIZARD_CAPTION" $ID_LANGUAGE_LIST 1   # the second entry: English
  screenshot page3_english
  click "$WIZARD_CAPTION" $ID_NEXT
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 1 --language 0 --new-folder ||
    fail "installed files"
  [ ! -e "$temp_msi" ] || fail "speech-module package written although declined"
  ;;
bad_folder)
  start_setup
  type_path 'Q:\Zelko'
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_NEXT                      # Install
  answer_message "$MSG_BAD_FOLDER" $ID_OK message_bad_folder
  [ "$(inspect visible "$WIZARD_CAPTION" $ID_LANGUAGE_LIST)" = 1 ] || fail "not back on the last page"
  for _ in 1 2 3; do click "$WIZARD_CAPTION" $ID_BACK; done
  [ "$(inspect visible "$WIZARD_CAPTION" $ID_FOLDER_PATH)" = 1 ] || fail "Back did not reach the first page"
  type_path 'C:\Zelko'
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8              # coming from page 0 asks again
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_NEXT
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  ;;
cancel)
  start_setup
  click "$WIZARD_CAPTION" $ID_CANCEL
  rc=$(setup_exit_code)
  [ "$rc" = $((1602 % 256)) ] || fail "Cancel: exit code $rc"
  start_setup
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  click "$WIZARD_CAPTION" $ID_NEXT
  keys "$WIZARD_CAPTION" key Escape
  rc=$(setup_exit_code)
  [ "$rc" = $((1602 % 256)) ] || fail "Esc: exit code $rc"
  [ ! -e "$folder_unix" ] || fail "Cancel or Esc left an install folder"
  [ ! -e "$start_menu" ] || fail "Cancel or Esc left a Start-menu folder"
  ;;
traditional|simplified)
  # The default way through, on a Chinese system: the Start-menu folder and
  # shortcuts get Big5 (Traditional) or GB2312 (Simplified) names, made and
  # read back through the shell in that code page. The screenshots show the
  # wizard with the CJK dialog font such a system maps it to.
  start_setup
  [ "$(inspect text "$WIZARD_CAPTION" $ID_FOLDER_PATH)" = 'C:\Zelko' ] || fail "path field does not start as C:\\Zelko"
  walk_default_install $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder \
    --system-language $system_language --summary || fail "installed files"
  ;;
uninstall)
  # Install with the default choices, add a file of the user's own, hold one
  # installed file open, then uninstall from the Start-menu entry.
  source "$E2E_SOURCE/tests/e2e/uninstall_driver.sh"
  start_setup
  walk_default_install
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "setup exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  echo "my own notes" >"$folder_unix/my notes.txt"
  hold_file 'C:\Zelko\ZiDef.dic' || fail "cannot hold ZiDef.dic"
  trap 'release_held_file; e2e_stop_prefix' EXIT
  start_shortcut_target "$start_menu/Zelko Scrivora UnInstall.lnk" || fail "no uninstaller shortcut"
  answer_message_starting 'Remove Zelko Scrivora from C:\Zelko?' $ID_ANSWER_YES uninstall_question ||
    fail "no uninstall question"
  answer_message_starting "$MSG_UNINSTALL_HELD" $ID_OK uninstall_held || fail "held file not reported"
  [ "$E2E_MESSAGE_TEXT" = "${MSG_UNINSTALL_HELD}ZiDef.dic" ] || fail "closing message: $E2E_MESSAGE_TEXT"
  rc=0; wait "$E2E_UNINSTALL_PID" || rc=$?
  [ "$rc" = $((1603 % 256)) ] || fail "uninstaller exit code $rc with a file held"
  copy=$(wait_self_removal "$folder_unix") || fail "no self-removal"
  release_held_file
  left=$(folder_names "$folder_unix" | tr '\n' '|')
  [ "$left" = "ZiDef.dic|my notes.txt|" ] || fail "left in the install folder: $left"
  [ "$(attribute_letters "$folder_unix/ZiDef.dic")" = RH ] || fail "held file lost its attributes"
  [ ! -e "$start_menu" ] || fail "Start-menu folder left: $(folder_names "$start_menu" | tr '\n' '|')"
  ! ls "$E2E_USER_DIR/Desktop/"*.lnk >/dev/null 2>&1 || fail "desktop shortcuts left"
  ls "$E2E_USER_DIR/Temp/" | grep -v -x "$copy" | grep -q '^ZKU' && fail "other uninstaller files in Temp"
  # The copy goes at the next start of Windows.
  [ -e "$E2E_USER_DIR/Temp/$copy" ] || fail "copy $copy not in Temp"
  wine wineboot -r >/dev/null 2>&1 </dev/null || true
  [ ! -e "$E2E_USER_DIR/Temp/$copy" ] || fail "copy $copy still in Temp after a restart"
  ;;
uninstall_english)
  # Without the glyph font beside it the uninstaller asks in English only;
  # Enter answers Yes, and with nothing of the user's the folder goes too.
  source "$E2E_SOURCE/tests/e2e/uninstall_driver.sh"
  start_setup
  walk_default_install
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "setup exit code $rc"
  chmod u+w "$folder_unix/ChnBmp.bin" && rm -f "$folder_unix/ChnBmp.bin"
  start_shortcut_target "$start_menu/Zelko Scrivora UnInstall.lnk" || fail "no uninstaller shortcut"
  wait_window "$MESSAGE_CAPTION" 60 || fail "no uninstall question"
  for _ in $(seq 1 50); do [ -n "$(inspect text "$MESSAGE_CAPTION" 1028)" ] && break; sleep 0.2; done
  [ "$(inspect text "$MESSAGE_CAPTION" 1028)" = 'Remove Zelko Scrivora from C:\Zelko?' ] || fail "English question"
  [ -z "$(inspect text "$MESSAGE_CAPTION" 1013)" ] || fail "a Chinese line without the glyph font"
  screenshot uninstall_question_english
  keys "$MESSAGE_CAPTION" key Return
  expect_all_removed "$start_menu" "$E2E_USER_DIR/Desktop"
  ;;
uninstall_traditional|uninstall_old_shell)
  # The uninstaller finds the entries under the names and in the folders that
  # setup used: Big5 names on a Traditional Chinese system; the folders under
  # the Windows folder where the shell is the old one (NT 3.51).
  source "$E2E_SOURCE/tests/e2e/uninstall_driver.sh"
  desktop="$E2E_USER_DIR/Desktop"
  entry="Zelko Scrivora UnInstall"
  if [ "$scenario" = uninstall_traditional ]; then
    start_menu="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/澤柯寧靈墨箋"
    entry="澤柯寧靈墨箋卸載"
  else
    for program in ScrivoraSetup.exe ZEKEditUnInstall.exe; do
      wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d nt351 /f \
        >/dev/null 2>&1 </dev/null
    done
    # The profile folders of such a system are there before any setup runs;
    # setup makes only its own group folder in them.
    profile="$WINEPREFIX/drive_c/windows/profiles/$(id -un)"
    start_menu="$profile/start menu/programs/Zelko Scrivora"
    desktop="$profile/Desktop"
    mkdir -p "$profile/start menu/programs" "$desktop"
  fi
  start_setup
  walk_default_install
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "setup exit code $rc"
  [ -f "$start_menu/$entry.lnk" ] || fail "no '$entry' in $start_menu"
  [ "$(ls "$desktop/"*.lnk 2>/dev/null | wc -l)" = 2 ] || fail "desktop shortcuts not made in $desktop"
  start_shortcut_target "$start_menu/$entry.lnk" || fail "no uninstaller shortcut"
  answer_message_starting 'Remove Zelko Scrivora from C:\Zelko?' $ID_ANSWER_YES uninstall_question ||
    fail "no uninstall question"
  expect_all_removed "$start_menu" "$desktop"
  ;;
no_msi)
  # A Windows without Windows Installer (95, 98 and NT 4 as shipped, NT 3.51
  # always): nothing opens the package. Accepting the offer tells the user
  # so, and the package does not stay in the temporary folder.
  for key in 'HKCR\.msi' 'HKCR\Msi.Package'; do
    wine reg delete "$key" /f >/dev/null 2>&1 </dev/null || fail "cannot delete $key"
  done
  start_setup
  walk_default_install
  answer_message "$MSG_NEEDS_INSTALLER" $ID_OK message_needs_installer || fail "no Windows Installer message"
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  [ ! -e "$temp_msi" ] || fail "speech-module package left in the temporary folder"
  [ ! -e "$speech_installed" ] || fail "the package was installed after all"
  ;;
program_manager|program_manager_traditional)
  # Windows NT 3.51 as shipped: no profile folders under the Windows folder,
  # and Program Manager for the shell. Setup makes a group through its DDE
  # (Wine keeps the group as a folder of its Start menu), no desktop icons
  # although they are asked for, shows no error and makes nothing under the
  # Windows folder; the uninstaller removes the group again.
  source "$E2E_SOURCE/tests/e2e/uninstall_driver.sh"
  for program in ScrivoraSetup.exe ZEKEditUnInstall.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d nt351 /f \
      >/dev/null 2>&1 </dev/null
  done
  [ ! -e "$WINEPREFIX/drive_c/windows/profiles" ] || fail "the prefix has profile folders"
  windows_before=$(windows_folder_listing)
  group="Zelko Scrivora" entry="Zelko Scrivora UnInstall"
  if [ "$scenario" = program_manager_traditional ]; then
    group="澤柯寧靈墨箋" entry="澤柯寧靈墨箋卸載"
  fi
  start_menu="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$group"
  start_setup
  # The desktop-icon box stays ticked: such a system has no desktop for them.
  walk_to_install
  close_group_window "$group" || fail "the shell showed no group"
  answer_message "$MSG_SUCCESS" $ID_OK message_success || fail "no success message"
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined || fail "no speech-module offer"
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "setup exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --new-folder \
    --system-language $system_language --summary || fail "installed files"
  windows_after=$(windows_folder_listing)
  [ "$windows_before" = "$windows_after" ] ||
    fail "made under the Windows folder: $(comm -13 <(echo "$windows_before") <(echo "$windows_after") | tr '\n' '|')"
  start_shortcut_target "$start_menu/$entry.lnk" || fail "no uninstaller item in the group"
  answer_message_starting 'Remove Zelko Scrivora from C:\Zelko?' $ID_ANSWER_YES uninstall_question ||
    fail "no uninstall question"
  expect_all_removed "$start_menu" "$E2E_USER_DIR/Desktop"
  ;;
uninstall_win98)
  # The 95 family for every program of the prefix, so that the uninstaller's
  # copy in the temporary folder (a name of its own) is one too: it cannot
  # ask for its deletion at the next start, so a hidden batch file deletes
  # it, and then itself, before any restart.
  source "$E2E_SOURCE/tests/e2e/uninstall_driver.sh"
  wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1 </dev/null
  start_setup
  walk_default_install $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "setup exit code $rc"
  [ -f "$start_menu/Zelko Scrivora UnInstall.lnk" ] || fail "no uninstaller shortcut"
  start_shortcut_target "$start_menu/Zelko Scrivora UnInstall.lnk" || fail "no uninstaller shortcut"
  answer_message_starting 'Remove Zelko Scrivora from C:\Zelko?' $ID_ANSWER_YES uninstall_question ||
    fail "no uninstall question"
  rc=0; wait "$E2E_UNINSTALL_PID" || rc=$?
  [ "$rc" = 0 ] || fail "uninstaller exit code $rc"
  for _ in $(seq 1 300); do
    [ -e "$folder_unix" ] || [ -n "$(temp_uninstaller_files)" ] || break
    sleep 0.2
  done
  [ ! -e "$folder_unix" ] || fail "install folder left: $(folder_names "$folder_unix" | tr '\n' '|')"
  [ -z "$(temp_uninstaller_files)" ] || fail "left in the temporary folder: $(temp_uninstaller_files | tr '\n' '|')"
  [ ! -e "$start_menu" ] || fail "Start-menu folder left"
  ! wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
    </dev/null 2>/dev/null | grep -q ZKU || fail "the copy asked for a restart, as only the NT family can"
  ;;
high_contrast)
  # Windows' high-contrast black scheme: light text on black faces. Every
  # caption's strokes must show light: the pure Chinese ones (the panel's
  # third line, the result message), the Chinese start of the path label and
  # the Chinese agreement lines.
  for pair in 'ButtonFace=0 0 0' 'ButtonText=255 255 255' 'Window=0 0 0' 'WindowText=255 255 255' \
              'Hilight=0 0 255' 'HilightText=255 255 255' 'GrayText=0 255 0' \
              'ButtonHilight=255 255 255' 'ButtonShadow=128 128 128'; do
    wine reg add 'HKCU\Control Panel\Colors' /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1 </dev/null
  done
  start_setup
  screenshot page0
  expect_light page0 "$WIZARD_CAPTION" 1012
  expect_light page0 "$WIZARD_CAPTION" 1006 64           # 安装路径, before any Latin letter
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  screenshot page1
  expect_light page1 "$WIZARD_CAPTION" 1012
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_ENGLISH_AGREEMENT 8         # the Chinese agreement
  screenshot page2_chinese
  expect_light page2_chinese "$WIZARD_CAPTION" 1019 60
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page3
  expect_light page3 "$WIZARD_CAPTION" 1012
  click "$WIZARD_CAPTION" $ID_NEXT
  wait_message "$MSG_SUCCESS" message_success
  expect_light message_success "$MESSAGE_CAPTION" 1013
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  ;;
busy_input)
  # From the Install press to the result message the wizard answers what
  # another program sends it within a second, and what the user does
  # meanwhile (the close box, Esc, Enter) does not act afterwards: the result
  # message waits for its own answer.
  start_setup
  walk_to_last_page
  wine "$E2E_BUILD/tests/e2e/inspect.exe" watch "$WIZARD_CAPTION" "$MESSAGE_CAPTION" \
    >"$E2E_WORK/answers.txt" 2>"$E2E_WORK/slow_answers.txt" </dev/null &
  watcher=$!
  sleep 1
  read -r x y w h <<<"$(inspect rect "$WIZARD_CAPTION" 0)"
  click "$WIZARD_CAPTION" $ID_NEXT                      # Install
  move_pointer $((x + w - 12)) $((y + 12))
  xdotool click 1
  keys "$WIZARD_CAPTION" key Escape Return space
  wait "$watcher" || fail "the answer watch failed"
  longest=$(cut -d' ' -f1 "$E2E_WORK/answers.txt")
  e2e_log "busy: $(cat "$E2E_WORK/answers.txt")"
  # When each file and shortcut was written, beside the slow answers' times.
  find "$folder_unix" "$start_menu" -type f -printf '%T@ %p\n' 2>/dev/null | sort -n >"$E2E_WORK/written.txt"
  [ "$longest" -lt 1000 ] || fail "the wizard took $longest ms to answer"
  answer_message "$MSG_SUCCESS" $ID_OK message_success || fail "the result message did not wait for its answer"
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined || fail "no speech-module offer"
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  ;;
small_screen)
  # A 640 x 480 screen: every button and field of every page, of the folder
  # chooser and of every message lies on it, and the install is walked to its
  # end with the mouse. Only the left panel's name and icon, which the wizard
  # is wider than the screen to show, may stand off its left edge.
  source "$E2E_SOURCE/scripts/display.sh"
  start_virtual_display 640x480
  trap 'e2e_stop_prefix; stop_virtual_display' EXIT
  [ "$(xdpyinfo | awk '/dimensions:/ {print $2}')" = 640x480 ] || fail "no 640 x 480 display"
  panel=" 102 108 166 169 1009 1011 1012 1020 1021 window "
  CHOOSER_CAPTION="Open File"   # the title Wine gives a chooser without one of its own
  start_setup
  expect_on_screen "$WIZARD_CAPTION" "$panel"
  screenshot page0
  click "$WIZARD_CAPTION" 1003                          # Browse
  wait_window "$CHOOSER_CAPTION" 30 || fail "no folder chooser"
  expect_on_screen "$CHOOSER_CAPTION" ""
  screenshot chooser
  click "$CHOOSER_CAPTION" $ID_CANCEL
  wait_window_gone "$CHOOSER_CAPTION" 30 || fail "the chooser did not close"
  click "$WIZARD_CAPTION" $ID_NEXT
  expect_on_screen "$WIZARD_CAPTION" "$panel"
  screenshot page1
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  click "$WIZARD_CAPTION" $ID_NEXT
  expect_on_screen "$WIZARD_CAPTION" "$panel"
  click "$WIZARD_CAPTION" $ID_ENGLISH_AGREEMENT 8
  expect_on_screen "$WIZARD_CAPTION" "$panel"
  screenshot page2
  click "$WIZARD_CAPTION" $ID_NEXT
  expect_on_screen "$WIZARD_CAPTION" "$panel"
  screenshot page3
  click "$WIZARD_CAPTION" $ID_NEXT
  wait_message "$MSG_SUCCESS" message_success
  expect_on_screen "$MESSAGE_CAPTION" ""
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  wait_message "$MSG_SPEECH" message_speech
  expect_on_screen "$MESSAGE_CAPTION" ""
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  ;;
silent|silent_traditional)
  # A silent install into a folder with spaces (and a Chinese name on a
  # Traditional Chinese system): no window at any moment, the tree, the
  # configuration and the shortcuts of the wizard's default walk, the entry
  # in the user's list of programs, and the quiet uninstall taking it all.
  folder='C:\Program Files\Zelko Scrivora'
  [ "$scenario" = silent_traditional ] && folder='C:\澤柯 輸入法'
  rest=${folder#C:\\}
  unix="$WINEPREFIX/drive_c/${rest//\\//}"
  log="$E2E_WORK/silent.log"
  run_silent "$E2E_BUILD/ScrivoraSetup.exe" /S "/LOG=Z:${log//\//\\}" "/D=$folder"
  e2e_log "silent install: exit $E2E_SILENT_RC in $E2E_SILENT_MS ms"
  [ "$E2E_SILENT_RC" = 0 ] || fail "exit code $E2E_SILENT_RC: $(tail -n3 "$log" | tr '\r\n' '  ')"
  check "$unix" --windows-folder "$folder" --bmp-font 0 --language 1 --desktop --new-folder \
    --system-language $system_language --summary || fail "installed files"
  [ "$(tail -n1 "$log" | tr -d '\r')" = "exit code 0" ] || fail "log: $(tail -n1 "$log")"
  if [ "$scenario" = silent ]; then
    [ "$(entry_value HKCU InstallLocation)" = "$folder" ] || fail "InstallLocation $(entry_value HKCU InstallLocation)"
    [ "$(entry_value HKCU UninstallString)" = "\"$folder\\ZEKEditUnInstall.exe\"" ] || fail "UninstallString"
    [ "$(entry_value HKCU DisplayIcon)" = "$folder\\ZEKEdit.exe,0" ] || fail "DisplayIcon"
    [ "$(entry_value HKCU DisplayVersion)" = 1.0.0.0 ] || fail "DisplayVersion"
    [ "$(entry_value HKCU Publisher)" = Zelko ] || fail "Publisher"
    [ "$(entry_value HKCU NoModify)" = 0x1 ] && [ "$(entry_value HKCU NoRepair)" = 0x1 ] || fail "NoModify, NoRepair"
    [ "$(entry_value HKCU InstallDate)" = "$(date +%Y%m%d)" ] || fail "InstallDate $(entry_value HKCU InstallDate)"
    [ -z "$(entry_value HKLM InstallLocation)" ] || fail "an entry for the machine without /ALLUSERS"
  fi
  # Wine's own Add/Remove Programs list names the product.
  wine uninstaller --list </dev/null 2>/dev/null | tr -d '\r' | LC_ALL=C grep -q '^ZelkoScrivora|||.*Zelko Scrivora$' ||
    fail "not in Wine's list of programs: $(wine uninstaller --list </dev/null 2>/dev/null | tr '\r\n' '  ')"
  [ "$scenario" = silent_traditional ] && start_menu="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/澤柯寧靈墨箋"
  if [ "$scenario" = silent_traditional ]; then quiet_uninstall HKCU "$folder\\ZEKEditUnInstall.exe"; else quiet_uninstall HKCU; fi
  expect_quietly_removed "$unix" HKCU
  ;;
silent_old_windows)
  # Windows 98: the entry goes to the machine's list, the only one it reads.
  # Windows NT 3.51 as shipped: no list at all, and the install is complete
  # all the same (a Program Manager group, no desktop).
  wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1 </dev/null
  run_silent "$E2E_BUILD/ScrivoraSetup.exe" /S '/D=C:\Zelko98'
  [ "$E2E_SILENT_RC" = 0 ] || fail "Windows 98: exit code $E2E_SILENT_RC"
  check "$WINEPREFIX/drive_c/Zelko98" --windows-folder 'C:\Zelko98' --bmp-font 0 --language 1 --desktop \
    --new-folder || fail "Windows 98: installed files"
  [ "$(entry_value HKLM InstallLocation)" = 'C:\Zelko98' ] || fail "Windows 98: no entry for the machine"
  [ -z "$(entry_value HKCU InstallLocation)" ] || fail "Windows 98: an entry for the user"
  quiet_uninstall HKLM
  expect_quietly_removed "$WINEPREFIX/drive_c/Zelko98" HKLM
  wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 </dev/null
  for program in ScrivoraSetup.exe ZEKEditUnInstall.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d nt351 /f >/dev/null 2>&1 </dev/null
  done
  [ ! -e "$WINEPREFIX/drive_c/windows/profiles" ] || fail "the prefix has profile folders"
  run_silent "$E2E_BUILD/ScrivoraSetup.exe" /S '/D=C:\Zelko351'
  [ "$E2E_SILENT_RC" = 0 ] || fail "NT 3.51: exit code $E2E_SILENT_RC"
  check "$WINEPREFIX/drive_c/Zelko351" --windows-folder 'C:\Zelko351' --bmp-font 0 --language 1 --new-folder \
    --system-language 0 --summary || fail "NT 3.51: installed files"
  [ -f "$start_menu/Zelko Scrivora UnInstall.lnk" ] || fail "NT 3.51: no Program Manager group"
  [ -z "$(entry_value HKCU InstallLocation)$(entry_value HKLM InstallLocation)" ] || fail "NT 3.51: an entry"
  ;;
second_run)
  # The wizard proposes the folder of an earlier install that is not the
  # default; /D= would go before it.
  start_setup
  type_path 'C:\Zelko Mine'
  walk_default_install $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  [ "$(entry_value HKCU InstallLocation)" = 'C:\Zelko Mine' ] || fail "no entry after the interactive install"
  start_setup
  [ "$(inspect text "$WIZARD_CAPTION" $ID_FOLDER_PATH)" = 'C:\Zelko Mine' ] ||
    fail "second run proposes '$(inspect text "$WIZARD_CAPTION" $ID_FOLDER_PATH)'"
  screenshot second_run_page0
  click "$WIZARD_CAPTION" $ID_CANCEL
  rc=$(setup_exit_code)
  [ "$rc" = $((1602 % 256)) ] || fail "Cancel: exit code $rc"
  ;;
narrow_face_simplified|narrow_face_traditional)
  # A Chinese system whose dialog font is drawn with a face of half-width
  # Latin letters: the wizard is as wide as on an English system and every
  # caption of every page and message is whole.
  map_dialog_font_to_narrow_face
  start_setup
  expect_english_width
  screenshot page0
  expect_captions_whole page0 "$WIZARD_CAPTION"
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page1
  expect_captions_whole page1 "$WIZARD_CAPTION"
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page2
  expect_captions_whole page2 "$WIZARD_CAPTION"
  click "$WIZARD_CAPTION" $ID_NEXT
  screenshot page3
  expect_captions_whole page3 "$WIZARD_CAPTION"
  click "$WIZARD_CAPTION" $ID_NEXT
  wait_message "$MSG_SUCCESS" message_success
  expect_captions_whole message_success "$MESSAGE_CAPTION"
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  wait_message "$MSG_SPEECH" message_speech
  expect_captions_whole message_speech "$MESSAGE_CAPTION"
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder \
    --system-language $system_language || fail "installed files"
  ;;
dpi_144|dpi_192)
  # A 1920 x 1080 screen at 150 % or 200 %: the captions are 24- or
  # 32-pixel glyphs on every page and message, everything lies on the
  # screen, and the install is walked to its end with the mouse.
  dpi=${scenario#dpi_}
  cell=$((dpi == 144 ? 24 : 32))
  source "$E2E_SOURCE/scripts/display.sh"
  start_virtual_display 1920x1080
  trap 'e2e_stop_prefix; stop_virtual_display' EXIT
  set_wine_dpi "$dpi"
  start_setup
  click "$WIZARD_CAPTION" 1003                          # Browse
  wait_window "Open File" 30 || fail "no folder chooser"
  expect_on_screen "Open File" ""
  screenshot chooser
  expect_glyph_cell chooser "Open File" 1010 $cell        # 磁盘 (Drives):
  click "Open File" $ID_CANCEL
  wait_window_gone "Open File" 30 || fail "the chooser did not close"
  for page in 0 1 2 3; do
    expect_on_screen "$WIZARD_CAPTION" ""
    screenshot page$page
    expect_glyph_cell page$page "$WIZARD_CAPTION" 1012 $cell 4     # 安装程序, on every page
    case $page in
    0) expect_glyph_cell page0 "$WIZARD_CAPTION" 1006 $cell ;;   # 安装路径： (Install Path)
    1) expect_glyph_cell page1 "$WIZARD_CAPTION" 1017 $cell
       click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8 ;;
    2) click "$WIZARD_CAPTION" $ID_ENGLISH_AGREEMENT 8            # the Chinese agreement
       screenshot page2_chinese
       expect_glyph_cell page2_chinese "$WIZARD_CAPTION" $ID_BACK $cell ;;
    3) expect_glyph_cell page3 "$WIZARD_CAPTION" 1030 $cell
       expect_glyph_cell page3 "$WIZARD_CAPTION" $ID_CANCEL $cell ;;
    esac
    click "$WIZARD_CAPTION" $ID_NEXT
  done
  wait_message "$MSG_SUCCESS" message_success
  expect_on_screen "$MESSAGE_CAPTION" ""
  expect_glyph_cell message_success "$MESSAGE_CAPTION" 1013 $cell
  answer_message "$MSG_SUCCESS" $ID_OK message_success
  wait_message "$MSG_SPEECH" message_speech
  expect_on_screen "$MESSAGE_CAPTION" ""
  expect_glyph_cell message_speech "$MESSAGE_CAPTION" 1013 $cell
  answer_message "$MSG_SPEECH" $ID_CANCEL message_speech_declined
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "exit code $rc"
  check "$folder_unix" --windows-folder 'C:\Zelko' --bmp-font 0 --language 1 --desktop --new-folder ||
    fail "installed files"
  # The installed uninstaller asks from the 16-pixel font beside it: its
  # glyphs keep their size at 150 % (beside Latin letters taller than them,
  # so only the doubled glyphs are measured) and are doubled at 200 %. No
  # leaves everything.
  wine 'C:\Zelko\ZEKEditUnInstall.exe' </dev/null >/dev/null 2>&1 &
  uninstaller=$!
  wait_message "Remove Zelko Scrivora from C:\Zelko?" uninstall_question
  expect_on_screen "$MESSAGE_CAPTION" ""
  expect_captions_whole uninstall_question "$MESSAGE_CAPTION"
  [ "$dpi" = 144 ] || expect_glyph_cell uninstall_question "$MESSAGE_CAPTION" 1013 32
  click "$MESSAGE_CAPTION" 7
  rc=0
  wait "$uninstaller" || rc=$?
  [ "$rc" = $((1602 % 256)) ] || fail "No: the uninstaller ended with $rc"
  [ -f "$folder_unix/ZEKEditUnInstall.exe" ] || fail "No removed the uninstaller"
  ;;
*) echo "unknown scenario $scenario"; exit 2 ;;
esac
echo "e2e $scenario passed in $(( $(date +%s) - start )) s"
