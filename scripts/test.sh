#!/usr/bin/env bash
# Builds everything (native, the fuzz targets, 32-bit and 64-bit Windows) and runs every test
# under ctest; the fuzz targets run once over their saved corpora (scripts/fuzz.sh fuzzes longer).
# Every suite runs on the 64-bit build; on the 32-bit build only where the host runs 32-bit
# programs (elsewhere ctest reports those suites as skipped, with the reason).
#
# The builds come one after another (each takes every core); the suites then run side by side:
# the 32-bit and the 64-bit Windows suites each in a Wine prefix, scratch drives and virtual
# display of their own (build/PRESET/wineprefix; displays KRELMIX_DISPLAY and 100 above it), since
# their window tests mostly wait on the programs they drive, and the native checks beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
started=$SECONDS
scripts/setup.sh
source scripts/wine-env.sh
krelmix_wine_describe
status=0
declare -A outcome
passed=0 failed=0 skipped=0
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

# Every C++ file as clang-format writes it (.clang-format); a file it would change fails the run.
if scripts/check-format.sh; then outcome[format]=passed; else outcome[format]=failed; status=1; fi

for preset in native fuzz win32 win64; do
  cmake --preset "$preset" >/dev/null
  if cmake --build --preset "$preset"; then outcome[$preset]=built; else outcome[$preset]=failed; status=1; fi
done

# One preset's suites; the log holds ctest's output.
run_suites() {
  local preset="$1"
  ctest --preset "$preset" -j2 >"$logs/$preset.log" 2>&1
}

# A Windows preset's suites under a prefix and a display of their own.
run_windows_suites() (
  local preset="$1" display="$2"
  export KRELMIX_WINEPREFIX="$root/build/$preset/wineprefix" KRELMIX_DISPLAY="$display"
  unset DISPLAY
  source scripts/wine-env.sh
  krelmix_ensure_display
  krelmix_ensure_prefix >/dev/null
  local result=0
  run_suites "$preset" || result=$?
  wineserver -k 2>/dev/null || true
  return $result
)

base_display="${KRELMIX_DISPLAY:-:97}"
base_display="${base_display#:}"
declare -A job
for preset in win64 win32; do
  [ "${outcome[$preset]}" = built ] || continue
  display=":$base_display"
  [ "$preset" = win32 ] && display=":$((base_display + 100))"
  run_windows_suites "$preset" "$display" &
  job[$preset]=$!
done

# The native checks meanwhile: each safety rule broken in turn in a scratch copy must make a native
# unit test fail, then the native suites.
if python3 scripts/mutation-check.py; then outcome[mutation]=passed; else outcome[mutation]=failed; status=1; fi
for preset in native fuzz; do
  [ "${outcome[$preset]}" = built ] || continue
  if run_suites "$preset"; then outcome[$preset]=passed; else outcome[$preset]=failed; status=1; fi
done
for preset in win64 win32; do
  [ -n "${job[$preset]:-}" ] || continue
  if wait "${job[$preset]}"; then outcome[$preset]=passed; else outcome[$preset]=failed; status=1; fi
done

for preset in native fuzz win32 win64; do
  log="$logs/$preset.log"
  [ -f "$log" ] || { failed=$((failed + 1)); continue; }
  echo "=== ctest --preset $preset"
  cat "$log"
  total=$(sed -nE 's/.* tests passed, ([0-9]+) tests failed out of ([0-9]+)/\2/p' "$log" | tail -1)
  bad=$(sed -nE 's/.* tests passed, ([0-9]+) tests failed out of ([0-9]+)/\1/p' "$log" | tail -1)
  skip=$(grep -c '(Skipped)' "$log" || true)
  passed=$((passed + ${total:-0} - ${bad:-0} - skip)); failed=$((failed + ${bad:-0})); skipped=$((skipped + skip))
  [ -n "$total" ] || { failed=$((failed + 1)); status=1; }
done
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
