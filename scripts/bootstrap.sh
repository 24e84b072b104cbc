#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need, from Debian's
# packages. Idempotent: when every package is already there it only checks and
# returns within seconds. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  cmake ninja-build make python3
  wine wine32:i386 wine64
  xvfb xauth xdotool imagemagick x11-utils
  fonts-droid-fallback fonts-wine unifont
  unicode-data rime-data-pinyin-simp rime-data-stroke
  wixl msitools
  googletest
  nsis
  libdeflate-dev libdeflate-tools
  attr
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

echo "bootstrap: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
