#!/usr/bin/env bash
# End-to-end: the real setup program in a fresh Wine prefix, driven only with
# real mouse and keyboard input on the X display, checked from outside.
#   run_e2e.sh <source> <build> <scenario>
# Scenarios: default, other_choices, bad_folder, cancel, no_msi, uninstall,
# uninstall_english, uninstall_old_shell, uninstall_win98, program_manager,
# and on Chinese systems traditional, simplified, uninstall_traditional and
# program_manager_traditional
set -euo pipefail
export E2E_SOURCE=$1 E2E_BUILD=$2
scenario=$3
export E2E_WORK="$E2E_BUILD/e2e/$scenario"
source "$E2E_SOURCE/tests/e2e/wizard_driver.sh"

fail() { echo "FAIL: $*"; screenshot failure; exit 1; }

# A Chinese system: Wine takes the code page from LC_ALL, and with a real
# glibc locale (compiled into the build tree, found through LOCPATH) it names
# Unix files in UTF-8, so Chinese Start-menu names can be made at all.
case "$scenario" in
traditional|uninstall_traditional|program_manager_traditional) chinese_locale=zh_TW system_language=2 ;;
simplified) chinese_locale=zh_CN system_language=1 ;;
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
  [ "$rc" = 0 ] || fail "Cancel: exit code $rc"
  start_setup
  click "$WIZARD_CAPTION" $ID_NEXT
  click "$WIZARD_CAPTION" $ID_DISPLAY_OK 8
  click "$WIZARD_CAPTION" $ID_NEXT
  keys "$WIZARD_CAPTION" key Escape
  rc=$(setup_exit_code)
  [ "$rc" = 0 ] || fail "Esc: exit code $rc"
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
  [ "$rc" = 0 ] || fail "uninstaller exit code $rc"
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
*) echo "unknown scenario $scenario"; exit 2 ;;
esac
echo "e2e $scenario passed in $(( $(date +%s) - start )) s"
