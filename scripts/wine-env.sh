# Sourced: the environment of every Wine run of the project, for the build tree
# given as $1. A scratch HOME, because Wine links the prefix's Desktop and
# Documents folders to $HOME; no Mono/Gecko look-ups and no menu entries.
#
# The prefix is a 64-bit one with its 32-bit half (WoW64): Wine's own services
# and desktop run as native 64-bit programs, and only our 32-bit programs need
# a kernel that runs 32-bit code, or scripts/with-win32.sh, which emulates it.
# "wine" starts Wine's 32-bit loader, the one every program of the project
# needs.
_scrivora_build=$(cd "${1:?build folder}" && pwd)
export HOME="$_scrivora_build/wine-home"
export WINEPREFIX="${SCRIVORA_WINEPREFIX:-$_scrivora_build/wine-prefix}"
# The template as Wine made it, before any test ran in it: what the copies
# for the end-to-end scenarios and the unprivileged runs are taken from, so
# that no test running in the template meanwhile can change them or fail them.
export SCRIVORA_PRISTINE_PREFIX="$WINEPREFIX-pristine"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset _scrivora_build

# Starts a server that stays half a minute after its last program and warms
# it up with wineboot, so that the caller's first program starts at once.
# Where a server already runs there is nothing to do. The warm-up can fail
# when it meets a server that is just ending; then a new one is started and
# warmed up again, instead of leaving the caller to start one whose services
# would hold its output open. $1: the loader that runs wineboot.
wine_warm_up() {
  wineserver -p30 2>/dev/null || return 0
  local attempt
  for attempt in 1 2 3; do
    "$1" wineboot >/dev/null 2>&1 </dev/null && return 0
    sleep 1
    wineserver -p30 2>/dev/null || true
  done
  echo "Wine does not start in $WINEPREFIX" >&2
  return 1
}

# Copies the prefix $1 to $2 cheaply. Wine's own programs and libraries in
# its system folders (1.3 GB, about 1,450 files that no run writes) become
# hard links to the template's; everything else (the registry, settings, the
# user's folders) is copied for real, so a run changes only its own copy. A
# copy takes well under a second and about 45 MB, instead of 4 s and 1.3 GB.
wine_copy_prefix() {
  local from=$1 to=$2 entry user
  # Only Wine's own state: no folder at the top of drive_c, no user's
  # temporary files.
  mkdir -p "$to/drive_c/users"
  for entry in "$from"/* "$from"/.[!.]*; do
    [ "${entry##*/}" = drive_c ] || cp -a "$entry" "$to/"
  done
  for entry in windows "Program Files" "Program Files (x86)" ProgramData; do
    [ ! -e "$from/drive_c/$entry" ] || cp -al "$from/drive_c/$entry" "$to/drive_c/"
  done
  for user in "$from"/drive_c/users/*; do
    mkdir -p "$to/drive_c/users/${user##*/}/Temp"
    for entry in "$user"/*; do
      [ "${entry##*/}" = Temp ] || cp -al "$entry" "$to/drive_c/users/${user##*/}/"
    done
  done
  # What Wine or a program may change in place is copied for real; Wine's
  # programs and libraries stay links to the template's.
  (cd "$to" && find . -type f ! \( \( -path './drive_c/windows/system32/*' -o \
      -path './drive_c/windows/syswow64/*' -o -path './drive_c/windows/winsxs/*' \) \
      \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' -o -iname '*.ocx' \
      -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' -o -iname '*.ds' \
      -o -iname '*.com' -o -iname '*.vxd' -o -iname '*16' \) \) -print0) |
    (cd "$from" && xargs -0 -r cp -a --parents --remove-destination -t "$to")
}
