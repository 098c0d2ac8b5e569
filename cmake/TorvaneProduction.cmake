# torvane_build_production(TARGET CONTENT DIR OUTPUT DIR [DEPENDS FILE...]) builds a production from
# a content folder laid out as a production's sources are (data\ as the pack holds it,
# models\*.mqo, music\NAME.score) with `torvane-tool build`, as an author does: the models are
# converted, the score synthesised, the whole checked, and OUTPUT/torvane.pak and OUTPUT/music.ogg
# written. DEPENDS lists what the content folder is made from.
function(torvane_build_production target)
  cmake_parse_arguments(ARG "" "CONTENT;OUTPUT" "DEPENDS" ${ARGN})
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}/torvane.pak ${ARG_OUTPUT}/music.ogg
    COMMAND torvane-tool build ${ARG_CONTENT} --out ${ARG_OUTPUT}
    DEPENDS torvane-tool ${ARG_DEPENDS}
    COMMENT "Building ${target}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUT}/torvane.pak ${ARG_OUTPUT}/music.ogg)
endfunction()
