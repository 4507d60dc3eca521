#!/usr/bin/env bash
# Installs the missing system packages, builds the HUD and prepares the demo engine.
# Usage: scripts/setup.sh [build-dir] [extra cmake options...]
#   HALVIC_TEST_PACKAGES=1  also installs what only the tests need (scripts/test-packages.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true

lists=(scripts/packages.txt)
[ "${HALVIC_TEST_PACKAGES:-0}" = 1 ] && lists+=(scripts/test-packages.txt)
wanted=$(sed -e 's/#.*//' -e '/^\s*$/d' "${lists[@]}" | awk '{print $1}')
missing=()
for package in $wanted; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Ninja: with Qt 6.4 the Makefiles generator regenerates every QML module's type
# registrations and caches on each build, even with nothing changed (QTBUG-106683).
if [ -f "$build_dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build_dir/CMakeCache.txt"; then
  rm -rf "$build_dir"
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

# The demo engine runs as root/.venv/bin/python root/main.py, like a real engine.
if [ ! -x demo-engine/.venv/bin/python ]; then
  /usr/bin/python3 -m venv --without-pip demo-engine/.venv
fi
