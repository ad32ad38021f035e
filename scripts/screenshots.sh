#!/usr/bin/env bash
# Takes the pictures the README shows (docs/*.png) from the current build: starts the program
# under the virtual display as the end-to-end tests do, and cuts each window out of the screen.
# Then the same pictures at each display scale into FOLDER/scales/PERCENT/ (125, 150 and 200%),
# and the main window at 150% beside the others as main-window-150.png. Wine takes the DPI from
# LogPixels under HKCU\Control Panel\Desktop when each program starts; it is put back after.
# Builds nothing: build first (cmake --build --preset win64, or win32 where it runs).
#   scripts/screenshots.sh [FOLDER] [DPI...]     (default: docs, and 96 120 144 192)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wine-env.sh"
build="$root/build/win$KRELMIX_WINE_BITS"
for f in "$build/app/Krelmix.exe" "$build/tests/e2e_tests.exe"; do
  [ -f "$f" ] || { echo "screenshots: $f is missing; build the win$KRELMIX_WINE_BITS preset first" >&2; exit 1; }
done
out="$(cd "${1:-$root/docs}" && pwd)"
shift || true
dpis=("${@:-96}")
[ $# -gt 0 ] || dpis=(96 120 144 192)
krelmix_ensure_display
krelmix_ensure_prefix
echo "Pictures of $build/app/Krelmix.exe into $out ($(krelmix_wine_describe))"

desktop='HKCU\Control Panel\Desktop'
previous="$(krelmix_wine reg query "$desktop" /v LogPixels 2>/dev/null | tr -d '\r' | awk '/LogPixels/ {print $3}')" || true
restore_dpi() {
  if [ -n "$previous" ]; then
    krelmix_wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((previous))" /f >/dev/null 2>&1 || true
  else
    krelmix_wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
trap restore_dpi EXIT

cd "$build/tests"
for dpi in "${dpis[@]}"; do
  folder="$out"
  if [ "$dpi" != 96 ]; then
    folder="$out/scales/$((dpi * 100 / 96))"
    mkdir -p "$folder"
  fi
  echo "At $dpi DPI into $folder"
  krelmix_wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  krelmix_wine "$build/tests/e2e_tests.exe" "$build/app/Krelmix.exe" --screenshots "$folder"
  if [ "$dpi" = 144 ]; then cp "$folder/main-window.png" "$out/main-window-150.png"; fi
done
