# The manual pages, made at build time by help2man from the programs' own --help and --version
# (with the sections in packaging/NAME.h2m), then compressed as Debian wants them installed.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(TORVANE_MAN_DIR ${PROJECT_BINARY_DIR}/man)

# torvane_man_page(TARGET NAME SUMMARY [INCLUDES file...] [DEPENDS ...]) writes man/NAME.1 and
# man/NAME.1.gz from the program TARGET.
function(torvane_man_page target summary)
  cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
  set(page ${TORVANE_MAN_DIR}/${target}.1)
  set(includes)
  foreach(include ${ARG_INCLUDES})
    list(APPEND includes --include=${include})
  endforeach()
  add_custom_command(
    OUTPUT ${page} ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TORVANE_MAN_DIR}
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${summary} ${includes} --output=${page} $<TARGET_FILE:${target}>
    COMMAND ${GZIP} -9 -n -f -k ${page}
    DEPENDS ${target} ${ARG_INCLUDES} ${ARG_DEPENDS}
    COMMENT "Writing the manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}_man_page ALL DEPENDS ${page}.gz)
endfunction()

torvane_man_page(torvane "play a real-time demo production"
  INCLUDES ${PROJECT_SOURCE_DIR}/packaging/torvane.h2m)

set(tool_commands_manual ${TORVANE_MAN_DIR}/torvane-tool-commands.h2m)
add_custom_command(
  OUTPUT ${tool_commands_manual}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TORVANE_MAN_DIR}
  COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:torvane-tool> -DOUTPUT=${tool_commands_manual}
    -P ${PROJECT_SOURCE_DIR}/cmake/ToolCommandsManual.cmake
  DEPENDS torvane-tool ${PROJECT_SOURCE_DIR}/cmake/ToolCommandsManual.cmake
  COMMENT "Collecting the help of torvane-tool's commands"
  VERBATIM)
torvane_man_page(torvane-tool "make, check, render and capture demo productions"
  INCLUDES ${tool_commands_manual} ${PROJECT_SOURCE_DIR}/packaging/torvane-tool.h2m)
