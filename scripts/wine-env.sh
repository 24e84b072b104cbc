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
