#!/usr/bin/env bash
# Builds everything and runs every test under a virtual display (GL tests need one).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=${TORVANE_BUILD_DIR:-build}
jobs=$(nproc)
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j "$jobs"
