# torvane_add_pack(TARGET OUTPUT DIRECTORY) builds a pack file from a folder at build time
# with `torvane-tool pack create`, rebuilding it whenever a file under the folder changes.
function(torvane_add_pack target output directory)
  file(GLOB_RECURSE pack_inputs CONFIGURE_DEPENDS "${directory}/*")
  add_custom_command(
    OUTPUT ${output}
    COMMAND torvane-tool pack create ${output} ${directory}
    DEPENDS torvane-tool ${pack_inputs}
    COMMENT "Packing ${directory} into ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
