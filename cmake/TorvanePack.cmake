# torvane_add_pack(TARGET OUTPUT DIRECTORY) builds a pack file from a folder at build time
# with `torvane-tool pack create`, rebuilding it whenever a file under the folder changes, is
# added or is removed. A relative DIRECTORY is taken from the current source folder, a relative
# OUTPUT from the current build folder. Entry names are the paths below DIRECTORY with
# backslashes, so DIRECTORY/data/x/y.xml is stored as data\x\y.xml.
function(torvane_add_pack target output directory)
  get_filename_component(directory ${directory} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  get_filename_component(output ${output} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  file(GLOB_RECURSE pack_inputs CONFIGURE_DEPENDS "${directory}/*")
  add_custom_command(
    OUTPUT ${output}
    COMMAND torvane-tool pack create ${output} ${directory}
    DEPENDS torvane-tool ${pack_inputs}
    COMMENT "Packing ${directory} into ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
