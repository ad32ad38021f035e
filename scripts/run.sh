#!/usr/bin/env bash
# Builds Krelmix and starts it under Wine: the shipped 32-bit program where this host runs 32-bit
# programs, otherwise the 64-bit one. With no display, it starts a virtual one, saves a screenshot
# of the running program and ends it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/wine-env.sh
preset=win$KRELMIX_WINE_BITS
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Krelmix
had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then had_display=0; fi
krelmix_ensure_display
krelmix_ensure_prefix
exe="build/$preset/app/Krelmix.exe"
echo "Starting the $KRELMIX_WINE_BITS-bit program $exe. $(krelmix_wine_describe)"
if [ "$had_display" = 1 ]; then exec "$WINELOADER" "$exe" "$@"; fi
krelmix_wine "$exe" "$@" & pid=$!
sleep 6
shot="$PWD/build/krelmix-shot.png"
import -window root "$shot"
echo "Screenshot of the running program: $shot"
wineserver -k 2>/dev/null || true
wait "$pid" 2>/dev/null || true
