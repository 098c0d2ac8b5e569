#!/usr/bin/env bash
# Builds everything, including the showcase production, and plays it: the launcher appears, Run starts the
# demo. Without a display server it records the production to a video instead, under a virtual
# display with Mesa's software renderer, and says where the file is. The production is whatever
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
echo "run: no display, so the production is recorded to a video instead of played"
# shellcheck disable=SC2086
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
  "$build_dir/tools/torvane-tool" capture --pack "$production/torvane.pak" --music "$production/music.ogg" \
  --out "$video" ${TORVANE_CAPTURE_OPTIONS:-}
echo "run: the video is $(realpath "$video")"
