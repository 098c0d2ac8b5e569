#!/usr/bin/env bash
# Builds everything and starts the player in the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=${TORVANE_BUILD_DIR:-build}
cd "$build_dir/app"
exec ./torvane
