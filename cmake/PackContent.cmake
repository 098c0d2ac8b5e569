# cmake -DTOOL=torvane-tool -DCONTENT=DIR -DSTAGE=DIR -DPACK=FILE -P PackContent.cmake
# Copies CONTENT/data to STAGE/data, converts every CONTENT/models/*.mqo into STAGE/data/model/,
# and packs STAGE into PACK. A model that does not convert stops the build with its reason.
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/data/model)
file(COPY ${CONTENT}/data DESTINATION ${STAGE})
file(GLOB models ${CONTENT}/models/*.mqo)
list(SORT models)
foreach(model ${models})
  get_filename_component(name ${model} NAME_WE)
  execute_process(COMMAND ${TOOL} mqo2bmdl ${model} ${STAGE}/data/model/${name}.bmdl
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE reason)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${model}: ${reason}")
  endif()
endforeach()
get_filename_component(output_dir ${PACK} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
execute_process(COMMAND ${TOOL} pack create ${PACK} ${STAGE} RESULT_VARIABLE result ERROR_VARIABLE reason)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PACK}: ${reason}")
endif()
