#!/usr/bin/env bash
# Builds the browser player into build-web/ (torvane.html, torvane.js, torvane.wasm).
# Emscripten comes from Debian; its ports download from the network, so the C libraries the
# engine calls are built here from Debian's own sources into a cache folder kept between runs
# (TORVANE_WEB_CACHE, default ~/.cache/torvane-web). The native build is not touched.
#   bash scripts/web.sh            install, fetch, build the libraries when missing, build the page
#   bash scripts/web.sh --deps     stop after the libraries
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cache="${TORVANE_WEB_CACHE:-$HOME/.cache/torvane-web}"
prefix="$cache/wasm"
sources="$cache/src"
build_dir="${TORVANE_WEB_BUILD:-$root/build-web}"
jobs="${TORVANE_WEB_JOBS:-2}"

# The machine's node is newer than the one this emscripten was made for: its built-in fetch
# breaks emscripten's JS, and the optimising link needs Debian's acorn.
export NODE_OPTIONS="--no-experimental-fetch"
export NODE_PATH=/usr/share/nodejs

install_toolchain() {
  local wanted=(emscripten dpkg-dev cmake ninja-build chromium)
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Source packages through a list of our own, so the system's apt configuration is left alone.
apt_private() {
  local state="$cache/apt"
  mkdir -p "$state/lists/partial" "$state/cache/archives/partial"
  [ -f "$state/sources.list" ] || echo "deb-src http://deb.debian.org/debian bookworm main" > "$state/sources.list"
  apt-get -q -o Dir::Etc::SourceList="$state/sources.list" -o Dir::Etc::SourceParts=/dev/null \
    -o Dir::State::Lists="$state/lists" -o Dir::Cache="$state/cache" "$@"
}

fetch_sources() {
  mkdir -p "$sources"
  local packages=(libsdl2 zlib libpng1.6 libogg libvorbis libjpeg-turbo giflib libmd)
  local needed=()
  for p in "${packages[@]}"; do
    compgen -G "$sources/${p}-*/" > /dev/null || needed+=("$p")
  done
  [ ${#needed[@]} -eq 0 ] && return
  apt_private update
  (cd "$sources" && apt_private source "${needed[@]}")
}

source_dir() {
  local dirs=("$sources"/"$1"-*/)
  echo "${dirs[0]%/}"
}

# Compiles the C files given into one static library; CMake's type-size checks fail under this
# toolchain for these libraries, so they are compiled directly.
archive() {
  local name="$1" src="$2"
  shift 2
  local objects="$cache/obj/$name"
  rm -rf "$objects" && mkdir -p "$objects"
  local pids=()
  for file in "$@"; do
    emcc -O2 -w -I"$src" -I"$prefix/include" ${EXTRA_CFLAGS:-} -c "$src/$file" \
      -o "$objects/$(echo "$file" | tr / _).o" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
  emar rcs "$prefix/lib/lib$name.a" "$objects"/*.o
}

build_zlib() {
  local src; src="$(source_dir zlib)"
  archive z "$src" adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c gzwrite.c \
    infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c
  cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
}

build_png() {
  local src; src="$(source_dir libpng1.6)"
  cp "$src/scripts/pnglibconf.h.prebuilt" "$src/pnglibconf.h"
  archive png "$src" png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c \
    pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c
  cp "$src/png.h" "$src/pngconf.h" "$src/pnglibconf.h" "$prefix/include/"
}

build_ogg() {
  local src; src="$(source_dir libogg)"
  cat > "$src/include/ogg/config_types.h" <<'EOF'
#ifndef __CONFIG_TYPES_H__
#define __CONFIG_TYPES_H__
#include <stdint.h>
typedef int16_t ogg_int16_t;
typedef uint16_t ogg_uint16_t;
typedef int32_t ogg_int32_t;
typedef uint32_t ogg_uint32_t;
typedef int64_t ogg_int64_t;
typedef uint64_t ogg_uint64_t;
#endif
EOF
  EXTRA_CFLAGS="-I$src/include" archive ogg "$src" src/framing.c src/bitwise.c
  mkdir -p "$prefix/include/ogg"
  cp "$src/include/ogg/ogg.h" "$src/include/ogg/os_types.h" "$src/include/ogg/config_types.h" "$prefix/include/ogg/"
}

build_vorbis() {
  local src; src="$(source_dir libvorbis)"
  local files=(mdct.c smallft.c block.c envelope.c window.c lsp.c lpc.c analysis.c synthesis.c
    psy.c info.c floor1.c floor0.c res0.c mapping0.c registry.c codebook.c sharedbook.c
    lookup.c bitrate.c vorbisfile.c vorbisenc.c)
  EXTRA_CFLAGS="-I$src/include -I$src/lib" archive vorbis "$src/lib" "${files[@]}"
  mkdir -p "$prefix/include/vorbis"
  cp "$src"/include/vorbis/*.h "$prefix/include/vorbis/"
}

build_jpeg() {
  local src; src="$(source_dir libjpeg-turbo)"
  local version; version="$(sed -n 's/^set(VERSION \([0-9.]*\)).*/\1/p' "$src/CMakeLists.txt")"
  cat > "$src/jconfig.h" <<EOF
#define JPEG_LIB_VERSION 62
#define LIBJPEG_TURBO_VERSION $version
#define LIBJPEG_TURBO_VERSION_NUMBER 2001005
#define C_ARITH_CODING_SUPPORTED 1
#define D_ARITH_CODING_SUPPORTED 1
#define MEM_SRCDST_SUPPORTED 1
#define BITS_IN_JSAMPLE 8
EOF
  # size_t is four bytes in wasm32; the configure-time check cannot find that out here.
  cat > "$src/jconfigint.h" <<EOF
#define BUILD "web"
#define INLINE inline __attribute__((always_inline))
#define THREAD_LOCAL __thread
#define PACKAGE_NAME "libjpeg-turbo"
#define VERSION "$version"
#define SIZEOF_SIZE_T 4
#define HAVE_BUILTIN_CTZL
#define FALLTHROUGH
EOF
  sed 's/@COPYRIGHT_YEAR@/1991-2022/' "$src/jversion.h.in" > "$src/jversion.h"
  local files=(jcapimin.c jcapistd.c jccoefct.c jccolor.c jcdctmgr.c jchuff.c jcicc.c jcinit.c
    jcmainct.c jcmarker.c jcmaster.c jcomapi.c jcparam.c jcphuff.c jcprepct.c jcsample.c jctrans.c
    jdapimin.c jdapistd.c jdatadst.c jdatasrc.c jdcoefct.c jdcolor.c jddctmgr.c jdhuff.c jdicc.c
    jdinput.c jdmainct.c jdmarker.c jdmaster.c jdmerge.c jdphuff.c jdpostct.c jdsample.c jdtrans.c
    jerror.c jfdctflt.c jfdctfst.c jfdctint.c jidctflt.c jidctfst.c jidctint.c jidctred.c
    jquant1.c jquant2.c jutils.c jmemmgr.c jmemnobs.c jaricom.c jcarith.c jdarith.c jsimd_none.c)
  archive jpeg "$src" "${files[@]}"
  cp "$src/jpeglib.h" "$src/jconfig.h" "$src/jmorecfg.h" "$src/jerror.h" "$prefix/include/"
}

build_gif() {
  local src; src="$(source_dir giflib)"
  archive gif "$src" dgif_lib.c egif_lib.c gifalloc.c gif_err.c gif_font.c gif_hash.c \
    openbsd-reallocarray.c quantize.c
  cp "$src/gif_lib.h" "$prefix/include/"
}

build_md() {
  local src; src="$(source_dir libmd)"
  cat > "$src/config.h" <<'EOF'
#define HAVE_SYS_CDEFS_H 1
#define HAVE_SYS_PARAM_H 1
EOF
  EXTRA_CFLAGS="-I$src -I$src/include" archive md "$src/src" md5.c
  cp "$src/include/md5.h" "$prefix/include/"
}

# SDL's own CMake configure runs hundreds of checks, each an emscripten link: minutes. Its
# configuration for emscripten is fixed (SDL_config_emscripten.h), so its sources are compiled
# directly: the common ones and the back ends that build for the browser; what that header does
# not enable compiles to nothing.
build_sdl() {
  local src; src="$(source_dir libsdl2)"
  local files=()
  local dir
  for dir in . atomic audio cpuinfo dynapi events file haptic joystick libm locale misc power render \
      render/opengl render/opengles render/opengles2 render/software sensor stdlib thread timer video \
      video/yuv2rgb audio/emscripten audio/disk audio/dummy video/emscripten video/dummy \
      joystick/emscripten joystick/virtual haptic/dummy sensor/dummy loadso/dlopen power/emscripten \
      filesystem/emscripten timer/unix locale/emscripten misc/emscripten thread/generic; do
    for file in "$src/src/$dir"/*.c; do
      [ -e "$file" ] && files+=("src/$dir/$(basename "$file")")
    done
  done
  EXTRA_CFLAGS="-I$src/include" archive SDL2 "$src" "${files[@]}"
  mkdir -p "$prefix/include/SDL2"
  cp "$src"/include/*.h "$prefix/include/SDL2/"
}

build_libraries() {
  local stamp="$prefix/.complete"
  [ -f "$stamp" ] && return
  mkdir -p "$prefix/include" "$prefix/lib" "$cache/obj"
  local step
  for step in zlib png ogg vorbis jpeg gif md sdl; do
    [ -f "$cache/obj/$step.done" ] && continue
    echo "web: building $step for wasm"
    "build_$step"
    touch "$cache/obj/$step.done"
  done
  touch "$stamp"
}

build_page() {
  mkdir -p "$build_dir"
  emcmake cmake -S "$root/web" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTORVANE_WEB_PREFIX="$prefix" > "$build_dir/configure.log" || { cat "$build_dir/configure.log"; exit 1; }
  cmake --build "$build_dir" -j "$jobs"
  echo "web: built $build_dir/torvane.html"
}

install_toolchain
fetch_sources
build_libraries
[ "${1:-}" = "--deps" ] && exit 0
build_page
