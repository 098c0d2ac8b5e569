#!/usr/bin/env bash
# A build of the code before a change against the current one, side by side in one run, on the
# test production (docs/benchmarks.md):
#   bench/frame/before_after.sh BEFORE_BUILD [AFTER_BUILD] [ROUNDS]
# Each build folder needs bench_frame, torvane-tool and the production built. Run it under a
# display (xvfb-run -a -s "-screen 0 1920x1080x24" ...).
#
# Frame time: both builds' BM_EngineFrame at 1280 x 720 with FSAA 0 and 4, taken in turns (before,
# after, before, ...) ROUNDS times (default 5) so that both meet the same load; the fastest and
# the median round of each, elapsed and in CPU time of the whole process (on a shared machine the
# CPU time is what the frame costs; elapsed time also holds the waits for other processes).
# Peak memory: the maximum resident set size of `torvane-tool render` at 1280 x 720 and
# 1920 x 1080 with FSAA 0 and 8, two frames each (one with and one without the flash).
set -euo pipefail

before=${1:?usage: before_after.sh BEFORE_BUILD [AFTER_BUILD] [ROUNDS]}
after=${2:-build}
rounds=${3:-5}
# The benchmark's name before and after it took the size as arguments.
filter='BM_EngineFrame/(0|4|w:1280/h:720/fsaa:(0|4))/'
results=$(mktemp)
frames=$(mktemp -d)
trap 'rm -rf "$results" "$frames"' EXIT

for round in $(seq "$rounds"); do
  for side in before after; do
    folder=$before
    [ "$side" = after ] && folder=$after
    "$folder/bench/frame/bench_frame" --benchmark_filter="$filter" --benchmark_format=csv 2>/dev/null |
      awk -F, -v side="$side" '$1 ~ /^"BM_/ { gsub(/"/, "", $1); print side, $1, "elapsed", $3; print side, $1, "cpu", $4 }' >>"$results"
  done
  echo "round $round of $rounds done" >&2
done

echo "Frame time (ms per frame over $rounds rounds: fastest, median; cpu: every thread of the process):"
sort -k1,1 -k2,2 -k3,3 -k4,4n "$results" | awk '
  { key = $1 " " $2 " " $3; values[key] = values[key] " " $4 }
  END {
    for (key in values) {
      n = split(substr(values[key], 2), v, " ");
      split(key, k, " ");
      printf "  %-7s %-8s %-58s %8.1f %8.1f\n", k[1], k[3], k[2], v[1], v[int((n + 1) / 2)]
    }
  }' | sort -k3,3 -k2,2 -k1,1

echo "Peak resident set size of torvane-tool render (MiB):"
for size in 1280x720 1920x1080; do
  for fsaa in 0 8; do
    line="  ${size} FSAA ${fsaa}:"
    for side in before after; do
      folder=$before
      [ "$side" = after ] && folder=$after
      pack="$folder/test-production/torvane.pak"
      [ -f "$pack" ] || pack="$folder/production/torvane.pak"  # builds from before the showcase
      kib=$( { /usr/bin/time -f '%M' "$folder/tools/torvane-tool" render --pack "$pack" \
                 --width "${size%x*}" --height "${size#*x}" --fsaa "$fsaa" --at 1000,7000 --out "$frames/$side" \
                 >/dev/null; } 2>&1 | tail -n 1)
      line+=$(awk -v side="$side" -v kib="$kib" 'BEGIN { printf " %s %6.1f", side, kib / 1024 }')
    done
    echo "$line"
  done
done
