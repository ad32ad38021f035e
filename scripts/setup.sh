#!/usr/bin/env bash
# Installs what building and testing Krelmix needs on Debian 12, and nothing that is already there,
# so a second run takes seconds. Safe to run again at any time.
#
# It copes with hosts as they come:
#   - 32-bit support is found out by running a 32-bit program (scripts/host-bits.sh); only where
#     one runs are i386 multiarch and wine32 installed. Elsewhere everything runs on the 64-bit build.
#   - A package index that fails to download is reported in one line; the set-up goes on with the
#     lists it has and fails only when a package it really needs cannot be installed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/host-bits.sh"

packages=(cmake ninja-build g++ libgtest-dev googletest
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
          wine wine64 xvfb xauth xdotool imagemagick locales x11-utils
          clang libclang-rt-14-dev clang-format python3)

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing_of() {
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}

# apt-get update exits 100 when any one index fails (a mirror caught mid-sync, say); the lists
# that did arrive are still used.
update_indexes() {
  local log status=0
  log="$(mktemp)"
  "${sudo_cmd[@]}" apt-get update -qq >"$log" 2>&1 || status=$?
  if [ "$status" != 0 ] || grep -qE '^(E|W|Err):.*(Failed to fetch|failed to download)|^E:' "$log"; then
    local failed
    failed="$(grep -oE 'Failed to fetch [^ ]+' "$log" | awk '{print $4}' | sort -u | tr '\n' ' ' | sed 's/ $//')"
    echo "setup: some package indexes could not be read (${failed:-apt-get update exited $status}); going on with the lists at hand"
  fi
  rm -f "$log"
}

# Installs the packages together; when that fails, one by one, so that the ones that cannot be
# had are named. Prints the names of those and fails when there are any.
install_packages() {
  ((${#@})) || return 0
  if "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@" >/dev/null 2>&1; then
    return 0
  fi
  local p failed=()
  for p in "$@"; do
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$p" >/dev/null 2>&1 || failed+=("$p")
  done
  if ((${#failed[@]})); then
    echo "${failed[*]}"
    return 1
  fi
}

updated=0
mapfile -t missing < <(missing_of "${packages[@]}")
if ((${#missing[@]})); then
  update_indexes; updated=1
  if ! failed="$(install_packages "${missing[@]}")"; then
    echo "setup: cannot install the packages: $failed" >&2
    exit 1
  fi
fi

# 32-bit Windows programs need Wine's 32-bit loader, which needs a host that runs 32-bit programs.
if krelmix_host_runs_32bit; then
  if ! installed wine32:i386; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${sudo_cmd[@]}" dpkg --add-architecture i386
      updated=0
    fi
    ((updated)) || update_indexes
    if ! failed="$(install_packages wine32:i386)"; then
      echo "setup: wine32 cannot be installed on this host (the package index may be out of step); going on with the 64-bit build only"
    fi
  fi
else
  echo "setup: this host runs no 32-bit programs; the 64-bit build is used to run and test"
fi

# Wine takes its ANSI code page from a real glibc locale: ru_RU gives 1251 for our Cyrillic texts,
# de_DE the Western 1252 and hi_IN UTF-8 (65001), which the code-page tests run the program under.
# Built into the build tree, no root needed.
locdir="$root/build/locale"
for locale in ru_RU de_DE hi_IN; do
  if [ ! -d "$locdir/$locale.UTF-8" ]; then
    mkdir -p "$locdir"
    localedef -i "$locale" -f UTF-8 "$locdir/$locale.UTF-8" 2>/dev/null || true
  fi
done
