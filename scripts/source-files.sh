#!/usr/bin/env bash
# Prints the project's own source files whose names match the given patterns (e.g. '*.qml'),
# one a line, relative to the project's root. Found in the source folders themselves, so it
# works without git and in a tree unpacked from an archive; build folders and the demo
# engine's virtual environment are never in these folders.
# Usage: scripts/source-files.sh PATTERN...
set -euo pipefail
cd "$(dirname "$0")/.."
names=()
for pattern in "$@"; do
  [ ${#names[@]} -gt 0 ] && names+=(-o)
  names+=(-name "$pattern")
done
find src tests bench fuzz demo-engine -type d \( -name .venv -o -name __pycache__ \) -prune -o \
  -type f \( "${names[@]}" \) -print | LC_ALL=C sort
