#!/usr/bin/env bash
# Makes sure the build tree's Wine prefix exists and its server runs.
#   wine-prefix.sh <build>          create the prefix once, start a warm server
#   wine-prefix.sh <build> --stop   stop the server
# Safe to call from many tests at once: the work happens under a lock.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
source "$(dirname "$0")/wine-env.sh" "$build"

if [ "${2:-}" = "--stop" ]; then
  [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
  exit 0
fi

mkdir -p "$HOME"
exec 9>"$build/.wine-prefix.lock"
flock 9
# Wine's server and services outlive this script; they must not inherit the
# lock, or every later caller would wait until the server ends.
wine64() { /usr/lib/wine/wine64 "$@" 9>&-; }
wineserver() { command wineserver "$@" 9>&-; }

if [ ! -f "$WINEPREFIX/.scrivora-ready" ] || [ ! -f "$SCRIVORA_PRISTINE_PREFIX/.scrivora-ready" ]; then
  rm -rf "$WINEPREFIX" "$SCRIVORA_PRISTINE_PREFIX"
  # Made by the 64-bit loader, which starts the 32-bit half's set-up itself.
  wine64 wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
  # Real folders instead of links into $HOME, so shortcuts land in the prefix.
  for d in Desktop Documents Downloads Music Pictures Videos; do
    if [ -L "$user_dir/$d" ]; then rm -f "$user_dir/$d"; mkdir -p "$user_dir/$d"; fi
  done
  # Without a window manager Wine waits about two seconds on every window hide
  # unless its windows are unmanaged.
  wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  # No font replacements: a GB2312 or Big5 font request finds an installed CJK
  # font by its character set, while replacing the Chinese face names with it
  # would also replace them in Wine's font links and leave Latin text of the
  # system and caption fonts without glyphs. On a Traditional Chinese system
  # the dialog font is a Big5 one, and only a CJK font that also has Latin
  # letters (fonts-wqy-zenhei) gives the bilingual captions their Latin half.
  wineserver -w
  # Without its 32-bit half (a kernel that runs no 32-bit code and no
  # emulator), no program of the project could start in this prefix.
  if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "wine-prefix.sh: the prefix has no 32-bit half; run under scripts/with-win32.sh" >&2
    exit 1
  fi
  # Copied now, while no program runs in it and its registry is written.
  wine_copy_prefix "$WINEPREFIX" "$SCRIVORA_PRISTINE_PREFIX"
  touch "$SCRIVORA_PRISTINE_PREFIX/.scrivora-ready" "$WINEPREFIX/.scrivora-ready"
fi

wine_warm_up wine64
