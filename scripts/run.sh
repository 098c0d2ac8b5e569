#!/usr/bin/env bash
# Builds everything, including the showcase production, and plays it: the launcher appears, Run starts the
# demo. Without a display server it records the production to a video instead, under a virtual
# display with Mesa's software renderer, at settings such a machine records it with in minutes,
# and says where the file is and how to record it at full quality. The production is whatever
# the build puts in build/production (torvane.pak and music.ogg); TORVANE_CAPTURE_OPTIONS adds
# options to the capture (docs/capture.md).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=${TORVANE_BUILD_DIR:-build}
production="$build_dir/production"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cd "$production"
  exec ../app/torvane
fi
mkdir -p "$build_dir/capture"
video="$build_dir/capture/torvane.mp4"
# Settings a two-core machine without a GPU records the whole showcase with in about a quarter of
# an hour; options of TORVANE_CAPTURE_OPTIONS come later and win.
headless_options="--size 1280x720 --fps 30 --fsaa 0"
full_quality_options="--size 1920x1080 --fps 60 --fsaa 4"
# A full-quality frame costs about 5.5 of these here (2.25 times the pixels, 2.5 times the work
# for FSAA 4), and there are twice as many frames.
full_quality_factor=11
echo "run: no display, so the production is recorded to a video instead of played, with its music:"
echo "run:   $headless_options ${TORVANE_CAPTURE_OPTIONS:-}"
started=$(date +%s)
# shellcheck disable=SC2086
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  "$build_dir/tools/torvane-tool" capture --pack "$production/torvane.pak" --music "$production/music.ogg" \
  --out "$video" $headless_options ${TORVANE_CAPTURE_OPTIONS:-}
seconds=$(($(date +%s) - started))
echo "run: the video is $(realpath "$video")"
if [ -z "${TORVANE_CAPTURE_OPTIONS:-}" ]; then
  full=$((seconds * full_quality_factor))
  printf 'run: recorded in %d:%02d; at full quality (1920x1080, 60 fps, FSAA 4) it takes about %d:%02d:%02d here:\n' \
    $((seconds / 60)) $((seconds % 60)) $((full / 3600)) $((full / 60 % 60)) $((full % 60))
  echo "run:   TORVANE_CAPTURE_OPTIONS='$full_quality_options' bash scripts/run.sh"
fi
