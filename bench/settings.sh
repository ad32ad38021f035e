#!/usr/bin/env bash
# The settings reader's benchmark: an optimised native build (no sanitizers), then the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$root" -B "$root/build/bench-native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench-native" --target settings_bench
"$root/build/bench-native/settings_bench"
