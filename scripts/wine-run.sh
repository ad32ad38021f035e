#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
set -u
source "$(dirname "$0")/wine-env.sh"
krelmix_ensure_display
krelmix_ensure_prefix
exe="$1"; shift
exec wine "$exe" "$@"
