#!/usr/bin/env bash
# Builds everything and runs every test under a virtual display (GL tests need one); then builds
# the tests again with AddressSanitizer and UndefinedBehaviorSanitizer into a folder of their own
# and runs them there (see scripts/test-sanitized.sh for which, and TORVANE_SANITIZED_TESTS).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=${TORVANE_BUILD_DIR:-build}
jobs=$(nproc)
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j "$jobs"
bash scripts/test-sanitized.sh
