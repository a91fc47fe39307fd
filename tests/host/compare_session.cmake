# Runs the native host once per script of commands and compares what it
# prints with the expected transcript, line for line. COMMANDS and EXPECTED
# are lists of equal length; the runs share one fresh settings folder, CONFIG,
# so a run sees what the ones before it stored, and never the user's own.
# ARGS (separated by "|") are further options for every run.
file(REMOVE_RECURSE ${CONFIG})
file(MAKE_DIRECTORY ${CONFIG})
string(REPLACE "|" ";" options "${ARGS}")
foreach(commands expected IN ZIP_LISTS COMMANDS EXPECTED)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${CONFIG}
      ${HOST} --log ${LOG} --caption ORVA ${options}
    INPUT_FILE ${commands} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "orva-host exited with ${status} on ${commands}")
  endif()
  file(READ ${expected} wanted)
  if(NOT actual STREQUAL wanted)
    get_filename_component(name ${expected} NAME_WE)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual "${actual}")
    message(FATAL_ERROR "${commands}: transcript differs:\n--- expected\n${wanted}\n--- actual\n${actual}")
  endif()
endforeach()
