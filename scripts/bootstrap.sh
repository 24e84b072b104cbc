#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need, from Debian's
# packages. Idempotent: when every package is already there it only checks and
# returns within seconds. Needs root (or sudo) only when something is missing.
#
# Where the kernel runs no 32-bit code, the 32-bit programs run under qemu-user
# (scripts/with-win32.sh). Debian 12's own qemu 7.2 costs about a minute per
# program start under Wine; the qemu 10 of bookworm-backports a third of a
# second, so that one is installed, with the backports suite added to the apt
# sources (on the archive the machine already uses) when it is missing. The
# stock qemu-user-static is the fallback where backports cannot be had.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  cmake ninja-build make python3
  wine wine32:i386 wine64
  xvfb xauth xdotool imagemagick x11-utils
  fonts-droid-fallback fonts-wqy-zenhei fonts-wine unifont fonts-noto-cjk libfreetype6
  unicode-data rime-data-pinyin-simp rime-data-stroke
  wixl msitools
  googletest
  nsis
  locales
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

# qemu 8 or later: the first with MAP_FIXED_NOREPLACE, which Wine's start-up needs.
need_qemu=0
if ! "$here/native-i386.sh"; then
  qemu_major=$( (qemu-i386 --version 2>/dev/null || true) | sed -n '1s/.*version \([0-9]*\).*/\1/p')
  if [ -z "$qemu_major" ] || [ "$qemu_major" -lt 8 ]; then need_qemu=1; fi
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_qemu = 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# The archive address of the machine's existing Debian sources, deb822 or
# one-line style, so that no host name is written into the project.
debian_archive() {
  {
    { cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } | awk '
      function flush() { if (stable && uri != "") print uri; uri = ""; stable = 0 }
      /^[ \t]*$/ { flush(); next }
      /^URIs:/ { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") stable = 1 }
      END { flush() }'
    { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } | awk '
      $1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
        if ($(i + 1) == "bookworm") print $i
      }'
  } | head -n1
}

has_backports() {
  grep -qs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

if [ $need_qemu = 1 ]; then
  echo "bootstrap: this kernel runs no 32-bit code; installing qemu-user from bookworm-backports" >&2
  if ! has_backports; then
    archive=$(debian_archive)
    if [ -n "$archive" ]; then
      printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$archive" | $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
      $sudo apt-get update -qq || true
    fi
  fi
  if ! $sudo apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user </dev/null; then
    echo "bootstrap: backports not available; falling back to Debian's qemu-user-static (slow program starts)" >&2
    $sudo apt-get install -y -qq --no-install-recommends qemu-user-static </dev/null
  fi
fi
