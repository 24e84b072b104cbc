#!/usr/bin/env bash
# Compiles the Chinese glibc locales the tests run Wine under into a folder of
# the build tree, so that nothing is written into the system's folders:
#   make-locales.sh <folder>
# Run Wine with LOCPATH=<folder> LC_ALL=zh_TW.UTF-8 (or zh_CN, zh_HK). Without
# a real locale Wine still takes the code page from LC_ALL, but names Unix
# files in ASCII only, so no Chinese file name could be made.
set -euo pipefail
dir=${1:?folder}
mkdir -p "$dir"
# Tests that run side by side may ask at once: one compiles, the others wait.
exec 9>"$dir/.lock"
flock 9
for name in zh_CN zh_TW zh_HK; do
  out="$dir/$name.UTF-8"
  [ -f "$out/LC_CTYPE" ] && continue
  # localedef exits with 1 on mere warnings; the written LC_CTYPE is what counts.
  localedef -i "$name" -f UTF-8 "$out" 2>/dev/null || true
  [ -f "$out/LC_CTYPE" ] || { echo "make-locales.sh: localedef made no $name.UTF-8" >&2; exit 1; }
done
