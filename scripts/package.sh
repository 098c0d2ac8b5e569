#!/usr/bin/env bash
# Builds the Debian package build/torvane_VERSION_amd64.deb (or into $TORVANE_BUILD_DIR) from a
# full build with the showcase, then checks it with lintian and the desktop entry with
# desktop-file-validate. --no-build packages what is already built.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TORVANE_BUILD_DIR:-build}
if [ "${1:-}" != "--no-build" ]; then
  bash scripts/build.sh -DTORVANE_SHOWCASE=ON
fi
version=$(sed -n 's/^project(torvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="$build_dir/torvane_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build_dir" && cpack --config CPackConfig.cmake >cpack.log 2>&1) || { cat "$build_dir/cpack.log" >&2; exit 1; }

# The desktop entry as it is packaged, with the path the install gave it.
entry=$(mktemp -d)
trap 'rm -rf "$entry"' EXIT
dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$entry" ./usr/share/applications/torvane.desktop
desktop-file-validate "$entry/usr/share/applications/torvane.desktop"
# Errors fail the package; warnings are shown. Lintian refuses to run as root unless told.
lintian --fail-on error --allow-root "$deb"
echo "package: $deb"
