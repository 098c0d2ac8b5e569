#!/usr/bin/env bash
# Configures and builds everything into build/ (or $TORVANE_BUILD_DIR). TORVANE_BUILT_TEST_LABELS
# (CTest labels separated by ';') limits the test executables built to those with such a label;
# every test is built by default.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TORVANE_BUILD_DIR:-build}
labels=${TORVANE_BUILT_TEST_LABELS:-unit;gl;desktop;long;fuzz-replay}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DTORVANE_BUILT_TEST_LABELS=$labels" "$@"
cmake --build "$build_dir"
