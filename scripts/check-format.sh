#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format (.clang-format) makes of
# it; prints the places. To fix: scripts/source-files.sh '*.cpp' '*.h' | xargs clang-format -i
set -uo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(scripts/source-files.sh '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: no C++ files found: nothing was checked"
  exit 1
fi
out=$(clang-format --dry-run "${files[@]}" 2>&1)
if [ -n "$out" ]; then
  printf '%s\n' "$out" | grep 'warning:' | head -n 40
  echo "check-format: $(printf '%s\n' "$out" | grep -c 'warning:') places are not formatted"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
