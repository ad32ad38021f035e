#!/usr/bin/env bash
# Takes the pictures the README shows (docs/*.png) from the current build: starts the program
# under the virtual display as the end-to-end tests do, and cuts each window out of the screen.
# Builds nothing: build first (cmake --build --preset win64, or win32 where it runs).
#   scripts/screenshots.sh [FOLDER]     (default: docs)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wine-env.sh"
build="$root/build/win$KRELMIX_WINE_BITS"
for f in "$build/app/Krelmix.exe" "$build/tests/e2e_tests.exe"; do
  [ -f "$f" ] || { echo "screenshots: $f is missing; build the win$KRELMIX_WINE_BITS preset first" >&2; exit 1; }
done
out="$(cd "${1:-$root/docs}" && pwd)"
krelmix_ensure_display
krelmix_ensure_prefix
echo "Pictures of $build/app/Krelmix.exe into $out ($(krelmix_wine_describe))"
cd "$build/tests"
krelmix_wine "$build/tests/e2e_tests.exe" "$build/app/Krelmix.exe" --screenshots "$out"
