#!/usr/bin/env bash
# One case of the DLL search: lays out a program folder holding the probe and
# a planted DLL, and a current folder holding another, runs the probe there in
# the given mode and compares its line with the expected one.
#   run_dll_search_case.sh <build> <probe.exe> <planted.dll> <mode> <expected line>
set -euo pipefail
build=$1 probe=$2 planted=$3 mode=$4 expected=$5
case_dir="$build/tests/app/dll_search/$mode"
rm -rf "$case_dir"
mkdir -p "$case_dir/program" "$case_dir/current"
cp "$probe" "$case_dir/program/dll_probe.exe"
cp "$planted" "$case_dir/program/planted_app.dll"
cp "$planted" "$case_dir/current/planted_cwd.dll"
cd "$case_dir/current"
actual=$("$build/wine-run" "$case_dir/program/dll_probe.exe" "$mode" 2>/dev/null </dev/null | tr -d '\r')
if [ "$actual" != "$expected" ]; then
  echo "mode $mode: got '$actual', expected '$expected'" >&2
  exit 1
fi
echo "mode $mode: $actual"
