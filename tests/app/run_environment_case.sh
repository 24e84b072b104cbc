#!/usr/bin/env bash
# One case of the platform matrix: runs the environment probe under a Windows
# version (Wine's per-program Version setting) and a locale (LC_ALL) and
# compares its line with the expected one.
#   run_environment_case.sh <build> <probe.exe> <version> <locale> <expected line>
# The probe is copied under a name of its own per case, because Wine keeps the
# Version setting per program name and the cases run in parallel.
set -euo pipefail
build=$1 probe=$2 version=$3 locale=$4 expected=$5
dir="$build/tests/app/environment"
mkdir -p "$dir"
name="probe_${version}_${locale%%.*}.exe"
cp "$probe" "$dir/$name"
"$build/wine-run" reg add "HKCU\\Software\\Wine\\AppDefaults\\$name" /v Version /d "$version" /f \
  >/dev/null 2>&1 </dev/null
actual=$(LC_ALL="$locale" "$build/wine-run" "$dir/$name" 2>/dev/null </dev/null | tr -d '\r')
if [ "$actual" != "$expected" ]; then
  echo "Windows $version, $locale: got '$actual', expected '$expected'" >&2
  exit 1
fi
echo "Windows $version, $locale: $actual"
