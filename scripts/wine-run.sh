#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR):
#   wine-run.sh BITS PROGRAM ARGS...
# BITS is the build's word size. A 32-bit program on a host that cannot run it ends with 77,
# which ctest reports as skipped (SKIP_RETURN_CODE), never as passed.
set -u
source "$(dirname "$0")/wine-env.sh"
bits="$1"; shift
if [ "$bits" = 32 ] && [ "$KRELMIX_WINE_BITS" != 32 ]; then
  echo "skipped: 32-bit program not run ($krelmix_wine_reason)"
  exit 77
fi
krelmix_ensure_display
krelmix_ensure_prefix || exit 1
exe="$1"; shift
# The output goes through a file: Wine's server and desktop processes started by this program
# can outlive it holding its output, and ctest would wait for them to close a pipe.
out="$(mktemp)"
krelmix_wine "$exe" "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status
