#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into build-fuzz/ and runs each one for
# SECONDS (default 60) from its seed corpus. New inputs land in build-fuzz/corpus/NAME.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTORVANE_FUZZ=ON -DTORVANE_TESTS=OFF -DTORVANE_BENCH=OFF
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build build-fuzz --target "${targets[@]}"
for target in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$target"
  echo "== $target for ${seconds}s"
  SDL_AUDIODRIVER=dummy "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=1048576 \
    -rss_limit_mb=2048 "build-fuzz/corpus/$target" "fuzz/corpus/$target"
done
