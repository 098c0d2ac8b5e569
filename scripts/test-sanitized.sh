#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer (LeakSanitizer included)
# into build-asan/ (or $TORVANE_SANITIZE_BUILD_DIR) and runs them under a virtual display. Any
# memory error, undefined behaviour or leak of ours fails its test; leaks that system libraries
# keep by design are suppressed in scripts/lsan.supp.
#
# By default it runs the unit and gl tiers and the fuzz targets' seed replays (CTest labels unit,
# gl, fuzz-replay). The desktop tier (real windows against the clock: the player from its
# launcher, the launcher's clicks, the OpenGL probe's box, display mode switches) is left out:
# under the sanitizers it measures the slowdown, not the code, and it runs unsanitized in
# scripts/test.sh; SDL's probe context also loads the GL driver and unloads it again before a
# window exists, and after a mode switch the leak checker reports a block from that first load
# with no library name any suppression could match. The long tier (whole productions) is not
# built here: generating and mastering the showcase under the sanitizers would take longer than
# everything else together; its generators' code and unit tests are. TORVANE_SANITIZED_TESTS=all runs every tier; =none skips this pass.
set -euo pipefail
cd "$(dirname "$0")/.."
which=${TORVANE_SANITIZED_TESTS:-default}
[ "$which" = none ] && exit 0
build_dir=${TORVANE_SANITIZE_BUILD_DIR:-build-asan}
# intercept_tls_get_addr=0: up to GCC 13 the runtime's TLS interceptor can mistake a heap block for
# an old glibc TLS header, and the leak checker's tracer then dies at exit (SIGSEGV, no report).
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=0:strict_string_checks=1:check_initialization_order=1:intercept_tls_get_addr=0
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The build runs sanitized tools too (the test production is built and checked, effects compiled
# on a hidden GL context), so it gets the same options and a display: without one SDL tries every
# video back end and the ones it unloads again leave leaks no suppression can name.
# Only the tiers it runs are built, against the engine as one shared library (linked once, not
# into each of some fifty programs). Optimised at -O1 with line tables only (-g1): stacks still
# name function, file and line, at about half the compile time of -O2 -g. Test code itself is
# compiled unoptimised, with the test framework's headers precompiled: it runs little and compiles
# much.
built="unit;gl;fuzz-replay"
[ "$which" = all ] && built="unit;gl;desktop;long;fuzz-replay"
optimised="-O1 -g1 -DNDEBUG"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_SANITIZE=ON -DTORVANE_BENCH=OFF \
  -DTORVANE_SHOWCASE=OFF "-DTORVANE_BUILT_TEST_LABELS=$built" -DTORVANE_SHARED_ENGINE=ON \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=$optimised" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$optimised" \
  -DTORVANE_TEST_COMPILE_OPTIONS=-O0 -DTORVANE_TEST_PCH=ON
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" cmake --build "$build_dir"

tiers=()
[ "$which" != all ] && tiers=(-L '^(unit|gl|fuzz-replay)$')
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  ctest --test-dir "$build_dir" --output-on-failure --timeout 1200 -j "$(nproc)" "${tiers[@]}"
