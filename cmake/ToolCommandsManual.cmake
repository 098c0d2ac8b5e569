# cmake -DTOOL=torvane-tool -DOUTPUT=file.h2m -P ToolCommandsManual.cmake
# Writes a manual section for help2man with every command's own --help, so that the manual page
# of torvane-tool is made from the same texts the commands print and cannot fall behind them.
execute_process(COMMAND ${TOOL} --help OUTPUT_VARIABLE list RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} --help failed")
endif()
string(REGEX MATCH "commands:\n(.*)\n\n" block "${list}")
string(REGEX MATCHALL "\n  [a-z0-9-]+" names "\n${CMAKE_MATCH_1}")

# Roff reads a backslash as an escape and a line starting with a dot or an apostrophe as a request.
function(roff_text text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(manual "[COMMANDS]\n")
foreach(name ${names})
  string(STRIP "${name}" name)
  execute_process(COMMAND ${TOOL} ${name} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${name} --help failed")
  endif()
  roff_text("${usage}" usage)
  roff_text("${name}" title)
  string(APPEND manual ".SS ${title}\n.nf\n${usage}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${manual}")
