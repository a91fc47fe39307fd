# Runs the native host over a script of commands and compares what it prints
# with the expected transcript, line for line.
execute_process(COMMAND ${HOST} --log ${LOG} --caption ORVA
  INPUT_FILE ${COMMANDS} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "orva-host exited with ${status}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/session.actual "${actual}")
  message(FATAL_ERROR "transcript differs:\n--- expected\n${expected}\n--- actual\n${actual}")
endif()
