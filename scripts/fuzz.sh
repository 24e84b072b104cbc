#!/usr/bin/env bash
# The long fuzz run, natively with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: the exhaustive check of the code-to-cell
# mapping, a run of its fuzzer, the large word-base inputs once each, then the
# word-base transcoder and the configuration update, each for a fixed number
# of inputs on one worker from a fresh corpus (so runs are comparable), and
# the figures of each run.
#   scripts/fuzz.sh [inputs of each, default 10000000]
# SCRIVORA_FUZZ_DIR chooses the folder (default: build/fuzz); a finding is
# kept there as a crash-* file and the run fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
dir=${SCRIVORA_FUZZ_DIR:-build/fuzz}
runs=${1:-10000000}
glyph_runs=1000000
max_len=4096

scripts/bootstrap.sh >/dev/null
tests/fuzz/build_fuzzers.sh "$dir"
rm -rf "$dir/inputs" "$dir/corpus"
python3 tests/fuzz/make_inputs.py "$dir/inputs"

fail() {
  echo "fuzz: $1 FAILED; log and any crash-* input in $dir" >&2
  echo "result:              FAILED ($1)"
  exit 1
}

"$dir/check_glyph_cells" || fail "glyph check"
"$dir/fuzz_glyph_cell" -runs=$glyph_runs -max_len=8 -artifact_prefix="$dir/" \
  >"$dir/glyph_fuzz.log" 2>&1 || { tail -n 30 "$dir/glyph_fuzz.log"; fail "glyph fuzz"; }
echo "glyph fuzz:          $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$dir/glyph_fuzz.log")"
"$dir/fuzz_word_base" -artifact_prefix="$dir/" "$dir"/inputs/word_base_large/* \
  >"$dir/word_base_large.log" 2>&1 || { tail -n 30 "$dir/word_base_large.log"; fail "large word-base inputs"; }
echo "large inputs:        $(ls "$dir/inputs/word_base_large" | wc -l) word bases past one output block, OK"

# long_run <name> <program>: $runs inputs from the <name> seeds and dictionary
# into a fresh corpus, then the run's figures.
long_run() {
  local name=$1 program=$2 log=$dir/$1.log corpus=$dir/corpus/$1
  mkdir -p "$corpus"
  echo
  echo "$name: $runs inputs on one worker (progress every 30 s)..."
  local start status=0 fuzzer
  start=$(date +%s)
  "$dir/$program" -runs="$runs" -max_len=$max_len \
    -dict="$dir/inputs/$name.dict" -artifact_prefix="$dir/" -print_final_stats=1 \
    "$corpus" "$dir/inputs/${name}_seeds" >"$log" 2>&1 &
  fuzzer=$!
  while kill -0 "$fuzzer" 2>/dev/null; do
    sleep 30
    line=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    [ -n "$line" ] && echo "  $line"
  done
  wait "$fuzzer" || status=$?
  local seconds=$(($(date +%s) - start))

  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    fail "$name fuzz (exit $status)"
  fi

  local done_line largest
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
  field() { sed -n "s/.* $1: \([^ ]*\).*/\1/p" <<<"$done_line"; }
  final_stat() { sed -n "s/^stat::$1: *//p" "$log"; }
  largest=$(find "$corpus" -type f -printf '%s\n' | sort -n | tail -n 1)
  echo "inputs executed:     $(final_stat number_of_executed_units)"
  echo "execs/s:             $(final_stat average_exec_per_sec)"
  echo "coverage:            cov $(field cov), ft $(field ft)"
  echo "corpus:              $(field corp) (inputs/bytes), $(ls "$corpus" | wc -l) files kept"
  echo "max input length:    limit $max_len, reached $(field lim), largest corpus input ${largest:-0} bytes"
  echo "peak memory:         $(final_stat peak_rss_mb) MB"
  echo "time:                ${seconds} s"
}

long_run word_base fuzz_word_base
long_run config_file fuzz_config_file
echo
echo "result:              PASS (no crash, sanitizer report or mismatch)"
