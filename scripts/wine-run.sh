#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
set -u
source "$(dirname "$0")/wine-env.sh"
krelmix_ensure_display
krelmix_ensure_prefix
exe="$1"; shift
# The output goes through a file: Wine's server and desktop processes started by this program
# can outlive it holding its output, and ctest would wait for them to close a pipe.
out="$(mktemp)"
wine "$exe" "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status
