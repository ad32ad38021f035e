#!/usr/bin/env bash
# Fails when clang-format (with the tree's .clang-format) would change a C++ file, and names it.
# Usage: scripts/check-format.sh [FILE...]   (no files: every C++ file git tracks)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.h' '*.hpp' '*.cpp' '*.cc')
fi
changed=()
for file in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then changed+=("$file"); fi
done
if [ ${#changed[@]} -gt 0 ]; then
  printf '%s\n' "${changed[@]}"
  echo "format: clang-format would change ${#changed[@]} of ${#files[@]} files (fix: clang-format -i FILE)" >&2
  exit 1
fi
echo "format: ${#files[@]} files as clang-format writes them"
