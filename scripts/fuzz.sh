#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for SECONDS each, then adds to its saved corpus in
# tests/fuzz/corpus/ the inputs that reach code the corpus did not; the test command replays it:
#   scripts/fuzz.sh 60                     every target for a minute
#   scripts/fuzz.sh 300 mask_rule          one target for five minutes
# A crash leaves its input as crash-* in the current folder; add it to the corpus once fixed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings_reader settings_writer switch_reader mask_rule temp_path_rule)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in "${targets[@]}"; do
  echo "== $target for $seconds s"
  fuzzer="build/fuzz/tests/fuzz/fuzz_$target" found="build/fuzz/found/$target" saved="tests/fuzz/corpus/$target"
  mkdir -p "$found" "$saved"
  "$fuzzer" -max_total_time="$seconds" -max_len=65536 "$found" "$saved"
  "$fuzzer" -merge=1 "$saved" "$found" 2>&1 | grep -E "MERGE-OUTER: [0-9]+ new files" || true
done
