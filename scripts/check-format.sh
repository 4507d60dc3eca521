#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format (.clang-format) makes of
# it; prints the places. To fix: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -uo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
out=$(clang-format --dry-run "${files[@]}" 2>&1)
if [ -n "$out" ]; then
  printf '%s\n' "$out" | grep 'warning:' | head -n 40
  echo "check-format: $(printf '%s\n' "$out" | grep -c 'warning:') places are not formatted"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
