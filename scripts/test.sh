#!/usr/bin/env bash
# Builds everything (native, 32-bit and 64-bit Windows) and runs every test under ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/wine-env.sh
krelmix_ensure_display
krelmix_ensure_prefix
status=0
for preset in native win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2 || status=1
done
wineserver -k 2>/dev/null || true
exit $status
