#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for SECONDS each, adding what it finds to its saved
# corpus in tests/fuzz/corpus/, which the test command replays:
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
  "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 "tests/fuzz/corpus/$target"
done
