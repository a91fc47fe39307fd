# Runs the native host on a log file, with --score, with the COMMANDS given to
# -c, or with other ARGS (separated by "|", for the options a test is about), and compares its exit status and both streams with the expected
# ones: what it prints (EXPECTED), and the lines it writes for records it left
# out or error boxes it met (EXPECTED_ERRORS). A stream may instead be given a
# pattern its whole text must match (OUTPUT_MATCH, ERRORS_MATCH), for texts
# naming paths or handles; a stream given neither must stay empty.
# The window's placement goes to a settings folder of the test's own, CONFIG,
# which only the commands (which stand for a logging program) may write to:
# every other run must leave it empty. The host runs in DIRECTORY when given,
# so that it names files as given.
file(REMOVE_RECURSE ${CONFIG})
file(MAKE_DIRECTORY ${CONFIG})
if(NOT DEFINED DIRECTORY)
  set(DIRECTORY .)
endif()
set(mode --score)
if(DEFINED COMMANDS)
  set(mode -c ${COMMANDS})
elseif(DEFINED ARGS)
  string(REPLACE "|" ";" mode "${ARGS}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${CONFIG}
    ${HOST} ${FORMAT} ${FILE} ${mode}
  WORKING_DIRECTORY ${DIRECTORY}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "orva-host exited with ${status}, not ${STATUS}:\n${errors}")
endif()

function(check_stream what text expected_file pattern)
  if(pattern)
    if(NOT text MATCHES "${pattern}")
      message(FATAL_ERROR "${what} do not match '${pattern}':\n${text}")
    endif()
    return()
  endif()
  set(expected "")
  if(expected_file)
    file(READ ${expected_file} expected)
  endif()
  if(NOT text STREQUAL expected)
    message(FATAL_ERROR "${what} differ:\n--- expected\n${expected}\n--- actual\n${text}")
  endif()
endfunction()

check_stream("printed lines" "${actual}" "${EXPECTED}" "${OUTPUT_MATCH}")
check_stream("messages" "${errors}" "${EXPECTED_ERRORS}" "${ERRORS_MATCH}")

list(FIND mode -c commands_at)
if(commands_at EQUAL -1)
  file(GLOB_RECURSE left_behind RELATIVE ${CONFIG} LIST_DIRECTORIES true ${CONFIG}/*)
  if(left_behind)
    message(FATAL_ERROR "the run left settings behind: ${left_behind}")
  endif()
endif()
