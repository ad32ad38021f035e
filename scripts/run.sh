#!/usr/bin/env bash
# Builds the shipped 32-bit Krelmix.exe and starts it under Wine. With no display, it starts a
# virtual one, saves a screenshot of the running program and ends it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Krelmix
source scripts/wine-env.sh
had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then had_display=0; fi
krelmix_ensure_display
krelmix_ensure_prefix
exe="build/win32/app/Krelmix.exe"
if [ "$had_display" = 1 ]; then exec wine "$exe" "$@"; fi
wine "$exe" "$@" & pid=$!
sleep 6
shot="$PWD/build/krelmix-shot.png"
import -window root "$shot"
echo "Screenshot of the running program: $shot"
wineserver -k 2>/dev/null || true
wait "$pid" 2>/dev/null || true
