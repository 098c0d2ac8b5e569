#!/usr/bin/env bash
# The browser player's tests: builds the page (scripts/web.sh), then drives headless Chromium
# against a loopback web server (tests/web/page_test.mjs). Needs the native build (build/) for
# torvane-tool and the test production; the showcase's page is tested when its pack is built.
#   bash scripts/test-web.sh [BUILD_DIR]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cache="${TORVANE_WEB_CACHE:-$HOME/.cache/torvane-web}"

bash "$root/scripts/web.sh"

# The DevTools-protocol driver comes from the npm registry, into the cache beside the libraries.
node_dir="$cache/node"
if [ ! -d "$node_dir/node_modules/playwright-core" ]; then
  mkdir -p "$node_dir"
  npm install --prefix "$node_dir" --no-audit --no-fund playwright-core@1.65 > /dev/null
fi

tool="$build/tools/torvane-tool"
[ -x "$tool" ] || tool="$build/torvane-tool"
args=("$tool" "$build/test-production/torvane.pak" "$build/test-production/music.ogg")
showcase="$build/production"
if [ -f "$showcase/torvane.pak" ] && [ -f "$showcase/music.ogg" ]; then
  args+=("$showcase/torvane.pak" "$showcase/music.ogg")
else
  echo "test-web: no showcase built in $build; its page is not tested"
fi
# torvane-tool render needs a display for its hidden GL context.
run=(node)
[ -z "${DISPLAY:-}" ] && run=(xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" node)
NODE_PATH="$node_dir/node_modules" "${run[@]}" "$root/tests/web/page_test.mjs" "${args[@]}"
