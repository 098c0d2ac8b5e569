#!/usr/bin/env bash
# Installs every build and test dependency from Debian packages. Safe to run twice. With --fuzz,
# also clang and its runtimes for the libFuzzer targets of scripts/fuzz.sh, which the tests do not
# need (the seed replays are built with the default compiler): some 250 MB that CI leaves out.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  libpng-dev zlib1g-dev libogg-dev libvorbis-dev libmd-dev
  libfltk1.3-dev libjpeg62-turbo-dev libgif-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev parallel
  libimgui-dev libstb-dev libtinygltf-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev vorbis-tools
  libebur128-dev libsquish-dev libfreetype-dev fonts-dejavu-core
  xvfb xauth xdotool x11-utils x11-apps
  help2man lintian desktop-file-utils man-db
  # Message boxes draw with the X server's core fonts: without them no box is shown at all.
  xfonts-base
  # The browser player's build and tests (scripts/web.sh, scripts/test-web.sh).
  emscripten dpkg-dev chromium
)
[ "${1:-}" = --fuzz ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is already installed"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
