# Adds every direct subfolder of the current folder that has a CMakeLists.txt, in name order,
# so that each subsystem's tests, benchmarks or fuzz targets stay in a folder of their own.
function(torvane_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
