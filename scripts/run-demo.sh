#!/usr/bin/env bash
# Sets everything up and starts the HUD against the bundled demo engine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
export TARVEL_VOICE_DIR="$PWD/demo-engine"
exec build/src/app/halvic-hud
