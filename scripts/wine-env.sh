# Sourced: the environment of every Wine run of the project, for the build tree
# given as $1. A scratch HOME, because Wine links the prefix's Desktop and
# Documents folders to $HOME; no Mono/Gecko look-ups and no menu entries.
_scrivora_build=$(cd "${1:?build folder}" && pwd)
export HOME="$_scrivora_build/wine-home"
export WINEPREFIX="${SCRIVORA_WINEPREFIX:-$_scrivora_build/wine-prefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset _scrivora_build
