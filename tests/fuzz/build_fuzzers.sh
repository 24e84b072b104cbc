#!/usr/bin/env bash
# Builds the native fuzz targets and the exhaustive glyph check into the given
# folder with the host's clang, AddressSanitizer and UndefinedBehaviorSanitizer.
# The product sources are compiled as they are: they must need no Win32 beyond
# the file functions that win32/windows.h declares and memory_volume.cpp
# provides.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
out=${1:?usage: build_fuzzers.sh <output folder>}
cxx=${SCRIVORA_FUZZ_CXX:-clang++-14}

if ! command -v "$cxx" >/dev/null; then
  echo "build_fuzzers: $cxx not found; scripts/bootstrap.sh installs clang-14" >&2
  exit 1
fi
runtime=$("$cxx" -print-file-name=libclang_rt.fuzzer-x86_64.a)
if [ ! -f "$runtime" ]; then
  echo "build_fuzzers: libFuzzer runtime not found; scripts/bootstrap.sh installs libclang-rt-14-dev" >&2
  exit 1
fi

mkdir -p "$out"
flags=(-std=c++17 -g -O1 -Wall -Wextra
       -fsanitize=address,undefined -fno-sanitize-recover=all
       -I"$top" -I"$here")

"$cxx" "${flags[@]}" -fsanitize=fuzzer -o "$out/fuzz_word_base" \
  "$here/fuzz_word_base.cpp" "$here/capped_stream.cpp" "$top/install/word_base.cpp"
"$cxx" "${flags[@]}" -fsanitize=fuzzer -I"$here/win32" -o "$out/fuzz_config_file" \
  "$here/fuzz_config_file.cpp" "$here/memory_volume.cpp" "$top/install/config_file.cpp" \
  "$top/install/file_attributes.cpp" "$top/runtime/file_stream.cpp" "$top/app/bounded.cpp" \
  "$top/app/globals.cpp"
"$cxx" "${flags[@]}" -fsanitize=fuzzer -o "$out/fuzz_glyph_cell" \
  "$here/fuzz_glyph_cell.cpp" "$top/glyph/glyph_cell.cpp"
"$cxx" "${flags[@]}" -o "$out/check_glyph_cells" \
  "$here/check_glyph_cells.cpp" "$top/glyph/glyph_cell.cpp"
