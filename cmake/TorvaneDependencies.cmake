# Every library the engine calls comes from the system (Debian packages).
find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(TV_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(TV_GLEW REQUIRED IMPORTED_TARGET glew)
pkg_check_modules(TV_GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(TV_PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(TV_ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(TV_VORBIS REQUIRED IMPORTED_TARGET ogg vorbis vorbisfile vorbisenc)
pkg_check_modules(TV_MD REQUIRED IMPORTED_TARGET libmd)
pkg_check_modules(TV_JPEG REQUIRED IMPORTED_TARGET libjpeg)
# Dear ImGui for the developer mode's interface. Its SDL2 and OpenGL 2 backends are compiled from
# the example sources the package installs (platform/CMakeLists.txt).
pkg_check_modules(TV_IMGUI REQUIRED IMPORTED_TARGET imgui)
find_path(IMGUI_BACKEND_SOURCES imgui_impl_sdl.cpp
  PATHS /usr/share/doc/libimgui-dev/examples/backends NO_DEFAULT_PATH REQUIRED)
find_path(IMGUI_BACKEND_HEADERS imgui_impl_sdl.h PATHS /usr/include/imgui/backends NO_DEFAULT_PATH REQUIRED)
find_package(GIF REQUIRED)
# Video capture encodes and muxes through FFmpeg's libraries; only the capture tool links them.
pkg_check_modules(TV_FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libswresample libavutil)
# Debian's FLTK CMake package names a fluid binary it does not ship, so find the library directly.
find_library(FLTK_LIBRARY fltk REQUIRED)
find_path(FLTK_INCLUDE_DIR FL/Fl.H REQUIRED)

add_library(torvane_deps INTERFACE)
target_link_libraries(torvane_deps INTERFACE
  PkgConfig::TV_SDL2 PkgConfig::TV_GLEW PkgConfig::TV_GLU OpenGL::GL
  PkgConfig::TV_PNG PkgConfig::TV_ZLIB PkgConfig::TV_VORBIS PkgConfig::TV_MD PkgConfig::TV_JPEG
  GIF::GIF ${FLTK_LIBRARY} PkgConfig::TV_IMGUI Threads::Threads)
target_include_directories(torvane_deps INTERFACE ${FLTK_INCLUDE_DIR})

add_library(torvane_ffmpeg INTERFACE)
target_link_libraries(torvane_ffmpeg INTERFACE PkgConfig::TV_FFMPEG)

# What the tools and the showcase's generators use besides: loudness measurement for mastering,
# text rasterising, DXT compression, and the fonts the titles are set in.
pkg_check_modules(TV_EBUR128 REQUIRED IMPORTED_TARGET libebur128)
pkg_check_modules(TV_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_library(SQUISH_LIBRARY squish REQUIRED)
find_path(SQUISH_INCLUDE_DIR squish.h REQUIRED)
find_path(DEJAVU_FONT_DIR DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu REQUIRED NO_DEFAULT_PATH)
