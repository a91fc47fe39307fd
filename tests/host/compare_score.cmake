# Scores a log file with the native host and compares the report it prints,
# the lines it writes for records it left out, and its exit status with the
# expected ones (or, for messages naming paths, a pattern they match).
# The window's placement goes to a settings folder of the test's own.
get_filename_component(name ${FILE} NAME)
set(config ${CMAKE_CURRENT_BINARY_DIR}/score-${name}.config)
file(REMOVE_RECURSE ${config})
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${config}
    ${HOST} ${FORMAT} ${FILE} --score
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "orva-host exited with ${status}, not ${STATUS}:\n${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "report differs:\n--- expected\n${expected}\n--- actual\n${actual}")
endif()
if(ERRORS_MATCH)
  if(NOT errors MATCHES "${ERRORS_MATCH}")
    message(FATAL_ERROR "messages do not match '${ERRORS_MATCH}':\n${errors}")
  endif()
  return()
endif()
set(expectedErrors "")
if(EXPECTED_ERRORS)
  file(READ ${EXPECTED_ERRORS} expectedErrors)
endif()
if(NOT errors STREQUAL expectedErrors)
  message(FATAL_ERROR "messages differ:\n--- expected\n${expectedErrors}\n--- actual\n${errors}")
endif()
