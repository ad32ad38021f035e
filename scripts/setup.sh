#!/usr/bin/env bash
# Installs what building and testing Krelmix needs on Debian 12, and nothing that is already there,
# so a second run takes seconds. Safe to run again at any time.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev googletest
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
          wine wine64 wine32:i386 xvfb xauth xdotool imagemagick locales x11-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page (1251 for our Cyrillic texts) from a real glibc locale;
# build one into the build tree, no root needed.
root="$(cd "$(dirname "$0")/.." && pwd)"
locdir="$root/build/locale"
if [ ! -d "$locdir/ru_RU.UTF-8" ]; then
  mkdir -p "$locdir"
  localedef -i ru_RU -f UTF-8 "$locdir/ru_RU.UTF-8" 2>/dev/null || true
fi
