# The sources of the browser player: every engine layer up to demo/ and the manager table, without the native-only
# platform files (FLTK launcher, GLX context, ImGui backend, inotify, sockets, xdg-open) and the
# glTF import, which the player never runs; their browser counterparts are in platform/web/.
set(engine_layers platform core files sound window render resources production scene shell demo)
set(torvane_web_sources)
foreach(layer ${engine_layers})
  file(GLOB_RECURSE layer_sources CONFIGURE_DEPENDS ${TORVANE_ROOT}/${layer}/*.cpp)
  list(APPEND torvane_web_sources ${layer_sources})
endforeach()
set(native_only
  platform/launcher_dialog.cpp platform/hidden_gl_context.cpp platform/imgui_backend.cpp
  platform/file_watcher.cpp platform/line_socket.cpp platform/tcp_connection.cpp
  platform/web_page.cpp platform/fatal.cpp platform/gl_driver_pin.cpp
  demo/scene_import.cpp demo/headless_demo.cpp)
foreach(file ${native_only})
  list(REMOVE_ITEM torvane_web_sources ${TORVANE_ROOT}/${file})
endforeach()
list(FILTER torvane_web_sources EXCLUDE REGEX "/files/gltf_[^/]*\\.cpp$")
list(FILTER torvane_web_sources EXCLUDE REGEX "/platform/web/")
# What the fixed-function path alone needs stays out of WebGL 2.
list(FILTER torvane_web_sources EXCLUDE REGEX "_fixed_function\\.cpp$")
file(GLOB browser_platform CONFIGURE_DEPENDS ${TORVANE_ROOT}/platform/web/*.cpp)
file(GLOB front_end CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
# The seventeen managers are defined with the player's program, in their registration order.
list(APPEND torvane_web_sources ${browser_platform} ${front_end} ${TORVANE_ROOT}/app/managers.cpp)
