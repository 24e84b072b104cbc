#!/usr/bin/env bash
# The speech-module package (payload 1029) as the product's user meets it:
# Wine's msiexec installs it silently, for the current user, and removes it
# again.
#   install_speech_module.sh <build> <ScrivoraSetup.exe>
set -euo pipefail
build=$1 exe=$2
here=$(cd "$(dirname "$0")" && pwd)
dir="$build/tests/payloads/speech"
rm -rf "$dir" && mkdir -p "$dir"
python3 - "$here/.." "$exe" "$dir/Sapi51forZelko.msi" <<'PY'
import sys, zlib
sys.path.insert(0, sys.argv[1])
from check_executable import PE
blob = PE(open(sys.argv[2], "rb").read()).payloads()[1029]
open(sys.argv[3], "wb").write(zlib.decompress(blob))
PY
source "$here/../../scripts/wine-env.sh" "$build"
installed="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/ZelkoSpeechStandIn/README.txt"
"$build/wine-run" msiexec /i "$dir/Sapi51forZelko.msi" /qn >/dev/null 2>&1 </dev/null
if [ ! -f "$installed" ]; then
  echo "msiexec /i did not install $installed" >&2
  echo "0 passed, 1 failed"
  exit 1
fi
grep -q "stand-in" "$installed"
"$build/wine-run" msiexec /x "$dir/Sapi51forZelko.msi" /qn >/dev/null 2>&1 </dev/null
if [ -e "$installed" ]; then
  echo "msiexec /x left $installed behind" >&2
  echo "1 passed, 1 failed"
  exit 1
fi
echo "installed and removed the speech module with msiexec"
echo "2 passed, 0 failed"
