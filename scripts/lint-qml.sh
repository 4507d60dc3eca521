#!/usr/bin/env bash
# qmllint over every QML file of the project, against the QML modules of a build.
# Usage: scripts/lint-qml.sh [build-dir]
# Qt 6.4's qmllint does not know the types of parts of Qt Quick (Layout's attached
# properties, the Qt namespace's enums, animations' easing), so its type, property,
# import and unqualified-access checks are off; syntax errors, required properties, aliases,
# signal handlers, deprecations and unused imports fail the check.
set -uo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
mapfile -t files < <(scripts/source-files.sh '*.qml')
if [ ${#files[@]} -eq 0 ]; then
  echo "lint-qml: no QML files found: nothing was checked"
  exit 1
fi
if ! /usr/lib/qt6/bin/qmllint -I "$build_dir/qml" --property disable --type disable --unqualified disable \
  --import disable --unused-imports warning "${files[@]}"; then
  echo "lint-qml: findings in the QML files above"
  exit 1
fi
echo "lint-qml: ${#files[@]} QML files clean"
