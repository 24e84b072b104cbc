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
