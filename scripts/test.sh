#!/usr/bin/env bash
# Builds everything and runs every test under a virtual display (GL tests need one); then builds
# the tests again with AddressSanitizer and UndefinedBehaviorSanitizer into a folder of their own
# and runs them there (see scripts/test-sanitized.sh for which, and TORVANE_SANITIZED_TESTS).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=${TORVANE_BUILD_DIR:-build}
jobs=$(nproc)
# The seeds are replayed once, under the sanitizers, which see every crash a plain replay sees and
# memory errors besides; without that pass they replay here.
plain=()
[ "${TORVANE_SANITIZED_TESTS:-default}" != none ] && plain=(-LE '^fuzz-replay$')
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j "$jobs" "${plain[@]}"
# The browser player: its build and its pages in headless Chromium (TORVANE_WEB_TESTS=none skips).
[ "${TORVANE_WEB_TESTS:-default}" != none ] && bash scripts/test-web.sh "$build_dir"
bash scripts/test-sanitized.sh
