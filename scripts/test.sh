#!/usr/bin/env bash
# Builds everything (native, the fuzz targets, 32-bit and 64-bit Windows) and runs every test
# under ctest; the fuzz targets run once over their saved corpora (scripts/fuzz.sh fuzzes longer).
# Every suite runs on the 64-bit build; on the 32-bit build only where the host runs 32-bit
# programs (elsewhere ctest reports those suites as skipped, with the reason).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
scripts/setup.sh
source scripts/wine-env.sh
krelmix_wine_describe
krelmix_ensure_display
krelmix_ensure_prefix
status=0
declare -A outcome
passed=0 failed=0 skipped=0
# Every C++ file as clang-format writes it (.clang-format); a file it would change fails the run.
if scripts/check-format.sh; then outcome[format]=passed; else outcome[format]=failed; status=1; fi
# Each safety rule broken in turn in a scratch copy must make a native unit test fail.
if python3 scripts/mutation-check.py; then outcome[mutation]=passed; else outcome[mutation]=failed; status=1; fi
log="$(mktemp)"
for preset in native fuzz win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  if [ "$preset" = win32 ] && [ "$KRELMIX_WINE_BITS" != 32 ]; then
    echo "The 32-bit suites are skipped: $krelmix_wine_reason."
  fi
  if ctest --preset "$preset" -j2 2>&1 | tee "$log"; [ "${PIPESTATUS[0]}" = 0 ]; then
    outcome[$preset]=passed
  else
    outcome[$preset]=failed; status=1
  fi
  total=$(sed -nE 's/.* tests passed, ([0-9]+) tests failed out of ([0-9]+)/\2/p' "$log" | tail -1)
  bad=$(sed -nE 's/.* tests passed, ([0-9]+) tests failed out of ([0-9]+)/\1/p' "$log" | tail -1)
  skip=$(grep -c '(Skipped)' "$log" || true)
  passed=$((passed + ${total:-0} - ${bad:-0} - skip)); failed=$((failed + ${bad:-0})); skipped=$((skipped + skip))
  [ -n "$total" ] || { failed=$((failed + 1)); status=1; }
done
rm -f "$log"
wineserver -k 2>/dev/null || true
if [ "$KRELMIX_WINE_BITS" != 32 ] && [ "${outcome[win32]}" = passed ]; then
  outcome[win32]="built; its tests skipped: $krelmix_wine_reason"
fi
echo "Format check: ${outcome[format]}"
echo "Safety rules broken on purpose, each caught: ${outcome[mutation]}"
echo "Native build: ${outcome[native]}"
echo "Fuzz targets over their corpora: ${outcome[fuzz]}"
echo "64-bit Windows build: ${outcome[win64]}"
echo "32-bit Windows build: ${outcome[win32]}"
echo "Whole run: $((SECONDS - started)) s"
echo "ctest: $passed passed, $failed failed, $skipped skipped"
exit $status
