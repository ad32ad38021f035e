#!/usr/bin/env bash
# Rebuilds the case-folding generator for Windows and writes the system's upper-case table, as
# Wine has it, into platform/CaseFoldRanges.inc. Commit the generator and its output together; the
# Win32 test CaseFold.AgreesWithTheSystemForEveryCharacterOfThePlane holds the table to the system.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
krelmix_ensure_prefix
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target casefold -j2
# Wine's drive Z: is the host's root.
output="Z:$(pwd)/platform/CaseFoldRanges.inc"
krelmix_wine build/win64/tools/casefold/casefold.exe "${output//\//\\}"
