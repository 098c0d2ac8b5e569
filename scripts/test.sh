#!/usr/bin/env bash
# Builds everything and runs every test under a virtual display (GL tests need one), in two passes
# that share the tiers out: the plain build runs the tiers that need the real thing (real windows
# against the clock, whole productions and the installed package), the sanitized build
# (AddressSanitizer and UndefinedBehaviorSanitizer, scripts/test-sanitized.sh) the unit and gl
# tiers and the fuzz seed replays, which it sees every fault of that a plain run sees, memory
# errors besides. Each build compiles and links only the test executables of its tiers.
# TORVANE_SANITIZED_TESTS=none runs every tier in the plain pass instead; =all every tier in both.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TORVANE_BUILD_DIR:-build}
jobs=$(nproc)
labels='desktop;long'
[ "${TORVANE_SANITIZED_TESTS:-default}" != default ] && labels='unit;gl;desktop;long;fuzz-replay'
TORVANE_BUILT_TEST_LABELS=$labels bash scripts/build.sh
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j "$jobs" -L "^(${labels//;/|})\$"
# The browser player: its build and its pages in headless Chromium (TORVANE_WEB_TESTS=none skips).
[ "${TORVANE_WEB_TESTS:-default}" != none ] && bash scripts/test-web.sh "$build_dir"
bash scripts/test-sanitized.sh
