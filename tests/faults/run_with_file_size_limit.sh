#!/usr/bin/env bash
# Runs a test program under Wine with a file-size limit (ulimit -f) of 128 KiB
# and SIGXFSZ ignored, so that a write past the limit fails with an error
# instead of ending the program: a short write that needs no mount. The Wine
# server is started beforehand, outside the limit, since it saves the
# registry.
#   run_with_file_size_limit.sh <build> <test.exe> [arguments...]
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh" "$build"
"$here/../../scripts/wine-prefix.sh" "$build" >/dev/null

limit_kib=128
export SCRIVORA_FILE_SIZE_LIMIT=$((limit_kib * 1024))
trap '' XFSZ
ulimit -f $limit_kib
exec wine "$exe" "$@"
