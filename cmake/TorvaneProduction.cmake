# torvane_build_production(TARGET CONTENT DIR SCORE PATH OUTPUT DIR [DEPENDS FILE...]) builds a
# production from a content folder laid out as a production's sources are (data\ as the pack holds
# it, models\*.mqo, the music's score): the models are converted beside a copy of data\, the copy is
# packed into OUTPUT/torvane.pak and the score (SCORE, relative to CONTENT) is synthesised into
# OUTPUT/music.ogg. DEPENDS lists what the content folder is made from. This is the one place the
# build drives the tools for a production.
set(TORVANE_PACK_CONTENT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/PackContent.cmake)

function(torvane_build_production target)
  cmake_parse_arguments(ARG "" "CONTENT;SCORE;OUTPUT" "DEPENDS" ${ARGN})
  set(stage ${CMAKE_CURRENT_BINARY_DIR}/${target}-stage)
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}/torvane.pak
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:torvane-tool> -DCONTENT=${ARG_CONTENT} -DSTAGE=${stage}
            -DPACK=${ARG_OUTPUT}/torvane.pak -P ${TORVANE_PACK_CONTENT_SCRIPT}
    DEPENDS torvane-tool ${ARG_DEPENDS} ${TORVANE_PACK_CONTENT_SCRIPT}
    COMMENT "Converting the models of ${target} and packing it"
    VERBATIM)
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}/music.ogg
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ARG_OUTPUT}
    COMMAND torvane-tool synth ${ARG_CONTENT}/${ARG_SCORE} ${ARG_OUTPUT}/music.ogg
    DEPENDS torvane-tool ${ARG_CONTENT}/${ARG_SCORE}
    COMMENT "Synthesising the music of ${target}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUT}/torvane.pak ${ARG_OUTPUT}/music.ogg)
endfunction()
