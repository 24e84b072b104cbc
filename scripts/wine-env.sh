# Sourced: the environment of every Wine run of the project, for the build tree
# given as $1. A scratch HOME, because Wine links the prefix's Desktop and
# Documents folders to $HOME; no Mono/Gecko look-ups and no menu entries.
#
# A build tree of 64-bit programs (see scripts/test-arch.sh) gets a 64-bit
# prefix, and "wine" runs Wine's 64-bit loader directly: Debian's wine command
# would start the 32-bit loader whenever it is installed, which a kernel
# without 32-bit support cannot run.
_scrivora_build=$(cd "${1:?build folder}" && pwd)
export HOME="$_scrivora_build/wine-home"
export WINEPREFIX="${SCRIVORA_WINEPREFIX:-$_scrivora_build/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ "$(cat "$_scrivora_build/wine-arch" 2>/dev/null)" = win64 ]; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  mkdir -p "$_scrivora_build/wine-bin"
  if [ ! -x "$_scrivora_build/wine-bin/wine" ]; then
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$_scrivora_build/wine-bin/wine"
    chmod 755 "$_scrivora_build/wine-bin/wine"
  fi
  case ":$PATH:" in
    *":$_scrivora_build/wine-bin:"*) ;;
    *) export PATH="$_scrivora_build/wine-bin:$PATH" ;;
  esac
else
  export WINEARCH=win32
fi
unset _scrivora_build
