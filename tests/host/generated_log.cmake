# Included by the summary's test scripts: with WRITER and GENERATE (the
# writer's arguments, "|"-separated, such as "adif|10000"), writes the log
# into WORK as contest.adi and puts its path where LOGS says @GENERATED@.
if(DEFINED GENERATE)
  string(REPLACE "|" ";" generate "${GENERATE}")
  execute_process(COMMAND ${WRITER} ${generate} OUTPUT_FILE ${WORK}/contest.adi
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the log writer failed (${status})")
  endif()
  string(REPLACE "@GENERATED@" "${WORK}/contest.adi" LOGS "${LOGS}")
endif()
