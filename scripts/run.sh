#!/usr/bin/env bash
# Builds everything, including the showcase production, and plays it: the launcher appears, Run
# starts the demo. The production's torvane.pak and music.ogg are in build/production.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=${TORVANE_BUILD_DIR:-build}
cd "$build_dir/production"
exec ../app/torvane
