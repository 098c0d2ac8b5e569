#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into build-fuzz/ and fuzzes them one at
# a time (one process each), starting from their corpora in fuzz/corpus/NAME.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]        each target for SECONDS (default 60)
#   scripts/fuzz.sh --total SECONDS [TARGET...]  all targets together within SECONDS, shared evenly
#   scripts/fuzz.sh --runs N [TARGET...]         each target for N executions
#
# New inputs land in build-fuzz/corpus/NAME; afterwards those that add coverage are merged into
# fuzz/corpus/NAME, so the next campaign starts where this one ended. Findings (crash-*, leak-*,
# timeout-*) are written to build-fuzz/findings/NAME. Targets that need a display run under Xvfb.
# The last lines give, per target, the executions run and the outcome.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=seconds
amount=60
case "${1:-}" in
  --total) mode=total; amount=$2; shift 2 ;;
  --runs) mode=runs; amount=$2; shift 2 ;;
  ''|-*) ;;
  *) amount=$1; shift ;;
esac

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: the fuzz targets are built with clang: bash scripts/install-deps.sh --fuzz" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTORVANE_FUZZ=ON -DTORVANE_TESTS=OFF -DTORVANE_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build build-fuzz --target "${targets[@]}"

case $mode in
  seconds) limit=(-max_total_time="$amount") ;;
  total) limit=(-max_total_time="$(( amount / ${#targets[@]} > 1 ? amount / ${#targets[@]} : 1 ))") ;;
  runs) limit=(-runs="$amount") ;;
esac

# Whole productions need a GL context, so a display.
needs_display() { [ "$1" = fuzz_production ]; }

# intercept_tls_get_addr=0 keeps the leak checker's tracer alive at exit (scripts/test-sanitized.sh).
run_env=(SDL_AUDIODRIVER=dummy ASAN_OPTIONS=intercept_tls_get_addr=0
         LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0")
summary=()
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  findings=build-fuzz/findings/$target
  mkdir -p "$corpus" "$findings" "fuzz/corpus/$target"
  run=()
  if needs_display "$target"; then run=(xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset"); fi
  echo "== $target (${limit[*]})"
  log=build-fuzz/$target.log
  set +e
  env "${run_env[@]}" "${run[@]}" "build-fuzz/fuzz/$target" "${limit[@]}" -max_len=1048576 -rss_limit_mb=2048 -timeout=60 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1
  status=$?
  set -e
  grep -E "^#[0-9]+ *(INITED|DONE)|ERROR|SUMMARY" "$log" | tail -4 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  outcome=$([ "$status" -eq 0 ] && echo "nothing found" || echo "FOUND: see $findings and $log")
  env "${run_env[@]}" "${run[@]}" "build-fuzz/fuzz/$target" -merge=1 -max_len=1048576 -rss_limit_mb=2048 "fuzz/corpus/$target" "$corpus" \
    >"build-fuzz/$target.merge.log" 2>&1 || true
  summary+=("$target: ${runs:-?} executions, $outcome")
done
echo "== summary"
printf '%s\n' "${summary[@]}"
