# The summary's promises, checked on whole runs of orva-host through its JSON
# document (read with CMake's own JSON support):
#
#   CHECK=sums     on LOGS ("|"-separated options and files): the bands add
#                  up to the totals, as many multipliers are listed as
#                  counted, the hours add up to the QSOs and end on the
#                  score, and the score is the one --score prints
#   CHECK=period   a contest period at AT cuts the log of LOGS in two: every
#                  one of its RECORDS lies in exactly one half, each half's hours lie on
#                  its side, standard error names the QSOs left out, and
#                  --score and --explain leave out what the summary does
#   CHECK=compare  LOGS are two logs of which the second has one multiplier
#                  more (SECOND_ONLY is its reference) and one station more
#
# WRITER and GENERATE ("adif|10000") make the log first, into WORK; LOGS
# then names it as @GENERATED@.
cmake_policy(SET CMP0007 NEW)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
include(${CMAKE_CURRENT_LIST_DIR}/generated_log.cmake)
string(REPLACE "|" ";" logs "${LOGS}")

# Runs orva-host with the logs and the arguments; the output and messages in
# <prefix>_out and <prefix>_err. Fails unless it exits with 0.
function(run_host prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${HOST} ${logs} ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "orva-host ${ARGN} exited with ${status}:\n${err}")
  endif()
  set(${prefix}_out "${out}" PARENT_SCOPE)
  set(${prefix}_err "${err}" PARENT_SCOPE)
endfunction()

# The sum of `field` over the entries of the list at `path...` of `json`.
function(json_sum result json field)
  string(JSON count LENGTH "${json}" ${ARGN})
  set(sum 0)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON value GET "${json}" ${ARGN} ${i} ${field})
      math(EXPR sum "${sum} + ${value}")
    endforeach()
  endif()
  set(${result} ${sum} PARENT_SCOPE)
endfunction()

function(expect_equal what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: ${actual}, expected ${expected}")
  endif()
endfunction()

function(check_sums json log)
  foreach(total qsos points multipliers)
    string(JSON ${total} GET "${json}" logs ${log} ${total})
    json_sum(bands_${total} "${json}" ${total} logs ${log} bands)
    expect_equal("the bands' ${total}" ${bands_${total}} ${${total}})
  endforeach()
  string(JSON worked LENGTH "${json}" logs ${log} multipliers_worked)
  expect_equal("multipliers listed" ${worked} ${multipliers})
  json_sum(hour_qsos "${json}" qsos logs ${log} hours)
  expect_equal("the hours' QSOs" ${hour_qsos} ${qsos})
  string(JSON score GET "${json}" logs ${log} score)
  string(JSON hours LENGTH "${json}" logs ${log} hours)
  if(hours GREATER 0)
    math(EXPR last "${hours} - 1")
    string(JSON last_score GET "${json}" logs ${log} hours ${last} score)
    expect_equal("the last hour's score" ${last_score} ${score})
  endif()
endfunction()

# The claimed score as the plug-in's window reports it: points*mults=score.
function(plugin_score result)
  run_host(plugin --score ${ARGN})
  if(NOT plugin_out MATCHES "Score: (-?[0-9]+\\*[0-9]+=-?[0-9]+)")
    message(FATAL_ERROR "no score in the report:\n${plugin_out}")
  endif()
  set(${result} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

function(summary_score result json)
  string(JSON points GET "${json}" logs 0 points)
  string(JSON multipliers GET "${json}" logs 0 multipliers)
  string(JSON score GET "${json}" logs 0 score)
  set(${result} "${points}*${multipliers}=${score}" PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "sums")
  run_host(summary --summary --json)
  check_sums("${summary_out}" 0)
  summary_score(claimed "${summary_out}")
  plugin_score(reported)
  expect_equal("the summary's score" ${claimed} ${reported})
elseif(CHECK STREQUAL "period")
  run_host(whole --summary --json)
  run_host(before --summary --json --to ${AT})
  run_host(after --summary --json --from ${AT})
  string(JSON left_before GET "${before_out}" logs 0 left_out outside_period)
  string(JSON left_after GET "${after_out}" logs 0 left_out outside_period)
  string(JSON kept_before LENGTH "${before_out}" logs 0 hours)
  math(EXPR records "${left_before} + ${left_after}")
  expect_equal("records in neither or both halves" ${records} ${RECORDS})
  if(left_before EQUAL 0 OR left_after EQUAL 0)
    message(FATAL_ERROR "${AT} does not cut the log: ${left_before} and ${left_after} left out")
  endif()
  foreach(half before after)
    check_sums("${${half}_out}" 0)
    if(NOT ${half}_err MATCHES "QSOs outside the contest period, left out: ${left_${half}}\n")
      message(FATAL_ERROR "standard error does not name the ${left_${half}} QSOs left out:\n"
        "${${half}_err}")
    endif()
  endforeach()
  math(EXPR last "${kept_before} - 1")
  string(JSON last_before GET "${before_out}" logs 0 hours ${last} hour)
  string(JSON first_after GET "${after_out}" logs 0 hours 0 hour)
  if(NOT last_before STRLESS "${AT}" OR first_after STRLESS "${AT}")
    message(FATAL_ERROR "the halves overlap: ${last_before} before, ${first_after} after ${AT}")
  endif()
  # Every mode leaves out the same QSOs: --score claims the summary's score,
  # and --explain lists the records the summary kept.
  summary_score(claimed "${before_out}")
  plugin_score(reported --to ${AT})
  expect_equal("--score --to ${AT}" ${reported} ${claimed})
  run_host(explained --explain --to ${AT})
  string(REGEX MATCHALL "\n" lines "${explained_out}")
  list(LENGTH lines rows)
  math(EXPR kept "${RECORDS} - ${left_before} + 1")
  expect_equal("--explain --to ${AT} lines" ${rows} ${kept})
elseif(CHECK STREQUAL "compare")
  run_host(both --summary --json)
  check_sums("${both_out}" 0)
  check_sums("${both_out}" 1)
  string(JSON only_first LENGTH "${both_out}" comparison multipliers_only 0)
  string(JSON only_second LENGTH "${both_out}" comparison multipliers_only 1)
  expect_equal("multipliers only the first worked" ${only_first} 0)
  expect_equal("multipliers only the second worked" ${only_second} 1)
  string(JSON reference GET "${both_out}" comparison multipliers_only 1 0 reference)
  expect_equal("the multiplier only the second worked" ${reference} ${SECOND_ONLY})
  string(JSON stations LENGTH "${both_out}" comparison stations_only 1)
  expect_equal("stations only the second worked" ${stations} 1)
  run_host(text --summary)
  if(NOT text_out MATCHES "Multipliers only log 2 worked: 1\n[^\n]+\n[^\n]*${SECOND_ONLY}")
    message(FATAL_ERROR "the text does not show the multiplier only log 2 worked:\n${text_out}")
  endif()
else()
  message(FATAL_ERROR "CHECK=${CHECK}?")
endif()
