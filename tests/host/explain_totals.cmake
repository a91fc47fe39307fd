# Explains a log QSO by QSO and scores it, and checks that the explanation
# adds up to the report: the sum of the points that are not duplicates and
# the number of multipliers the rows added are the report's totals.
cmake_policy(SET CMP0007 NEW)
execute_process(COMMAND ${HOST} ${FORMAT} ${FILE} --explain
  OUTPUT_VARIABLE explained ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "--explain exited with ${status}:\n${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${CONFIG} ${HOST} ${FORMAT}
    ${FILE} --score
  OUTPUT_VARIABLE report RESULT_VARIABLE status)
if(NOT report MATCHES "Total\t *[0-9]+\t *(-?[0-9]+)\t *([0-9]+)")
  message(FATAL_ERROR "no totals in the report (${status}):\n${report}")
endif()
set(report_points ${CMAKE_MATCH_1})
set(report_mults ${CMAKE_MATCH_2})

string(REPLACE ";" "," explained "${explained}")
string(REPLACE "\n" ";" rows "${explained}")
list(POP_FRONT rows header)
if(NOT header STREQUAL
    "callsign\tband\tmode\texchange\treference\tpoints\tmultiplier\tdate\ttime\trecord")
  message(FATAL_ERROR "header line '${header}'")
endif()
set(points 0)
set(mults 0)
foreach(row IN LISTS rows)
  if(row STREQUAL "")
    continue()
  endif()
  if(NOT row MATCHES
      "^[^\t]*\t[^\t]*\t[^\t]*\t[^\t]*\t[^\t]*\t(-?[0-9]+)\t([^\t]*)\t[^\t]*\t[^\t]*\t[0-9]+$")
    message(FATAL_ERROR "row '${row}' does not have ten fields")
  endif()
  if(CMAKE_MATCH_1 GREATER_EQUAL 0)
    math(EXPR points "${points} + ${CMAKE_MATCH_1}")
  endif()
  if(NOT CMAKE_MATCH_2 STREQUAL "")
    math(EXPR mults "${mults} + 1")
  endif()
endforeach()
if(NOT points EQUAL report_points OR NOT mults EQUAL report_mults)
  message(FATAL_ERROR "the rows add up to ${points} points and ${mults} multipliers, the "
    "report says ${report_points} and ${report_mults}")
endif()
