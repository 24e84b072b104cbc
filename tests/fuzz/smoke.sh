#!/usr/bin/env bash
# The short fuzz run for the test suite: the exhaustive glyph check, a short
# run of the glyph fuzzer, the large word-base inputs once each, and bounded
# fuzz runs of the word-base writer and the configuration update from their
# seeds. Fails on any crash, sanitizer report or mismatch, and when the
# programs were not built. Logs and findings (crash-* files) are kept in
# <folder>/smoke.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?usage: smoke.sh <folder of the built fuzz programs>}

for program in check_glyph_cells fuzz_glyph_cell fuzz_word_base fuzz_config_file; do
  if [ ! -x "$bin/$program" ]; then
    echo "smoke: $bin/$program is missing; build the scrivora_fuzzers target" \
         "(needs clang-14 and libclang-rt-14-dev from scripts/bootstrap.sh)" >&2
    exit 1
  fi
done

work=$bin/smoke
rm -rf "$work"
mkdir -p "$work/corpus"
python3 "$here/make_inputs.py" "$work"

# run <name> <lines to show> <command...>: the whole log on failure.
run() {
  local name=$1 lines=$2
  shift 2
  if ! "$@" >"$work/$name.log" 2>&1; then
    cat "$work/$name.log"
    echo "smoke: $name FAILED (log and any crash-* input in $work)" >&2
    exit 1
  fi
  grep -v '^\*\*\*\|^"\|^###' "$work/$name.log" | tail -n "$lines"
}

run glyph_check 3 "$bin/check_glyph_cells"
run glyph_fuzz 1 "$bin/fuzz_glyph_cell" -runs=100000 -max_len=8 -artifact_prefix="$work/"
run word_base_large 1 "$bin/fuzz_word_base" -artifact_prefix="$work/" "$work"/word_base_large/*
run word_base_fuzz 6 "$bin/fuzz_word_base" -runs=200000 -max_total_time=60 -max_len=4096 \
  -dict="$work/word_base.dict" -artifact_prefix="$work/" -print_final_stats=1 \
  "$work/corpus" "$work/word_base_seeds"
mkdir -p "$work/config_corpus"
run config_file_fuzz 6 "$bin/fuzz_config_file" -runs=200000 -max_total_time=60 -max_len=4096 \
  -dict="$work/config_file.dict" -artifact_prefix="$work/" -print_final_stats=1 \
  "$work/config_corpus" "$work/config_file_seeds"
echo "smoke: OK"
