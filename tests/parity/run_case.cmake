# Runs orva-host (HOST: the native program, or Wine and orva-host.exe) with
# ARGS ("|"-separated) in DIRECTORY, standard input from INPUT when given,
# and compares its exit status and both streams with EXPECTED, which the
# native program wrote (with UPDATE set, this script writes it instead).
# Line ends are made LF on both sides: orva-host.exe writes text with the
# console's CR LF. A stream longer than 64 KiB stands in EXPECTED as its
# SHA-256, so that a 10,000-QSO explanation needs no megabyte of its own.
# The generated log's path (GENERATED), which lies in each build's own tree
# and which the summary and the period's notes name, stands as @GENERATED@.
# The usage line after a misuse stands as orva-host.exe writes it: the native
# tool also names --log there, which only it reads. Where the page sends its
# reader to the program, each names itself by its own file name (PROGRAM),
# which stands as @PROGRAM@.
#
# EXPECTED holds "exit N", the standard output, a line
# "--- standard error", and the standard error.
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "|" ";" host "${HOST}")
set(input)
if(DEFINED INPUT)
  set(input INPUT_FILE ${INPUT})
endif()
execute_process(COMMAND ${host} ${args} ${input} WORKING_DIRECTORY ${DIRECTORY}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)

set(kSeparator "--- standard error\n")
function(normalised variable)
  string(REPLACE "\r\n" "\n" text "${${variable}}")
  string(REPLACE "${GENERATED}" [[@GENERATED@]] text "${text}")
  string(REPLACE "usage: orva-host [[--log | --adif" "usage: orva-host [[--adif" text "${text}")
  string(REPLACE " more are in ${PROGRAM} --summary." [[ more are in @PROGRAM@ --summary.]] text
    "${text}")
  string(LENGTH "${text}" length)
  if(length GREATER 65536)
    string(SHA256 sum "${text}")
    set(text "sha256 ${sum} of ${length} bytes\n")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
normalised(output)
normalised(errors)
set(actual "exit ${status}\n${output}${kSeparator}${errors}")

if(UPDATE)
  file(WRITE ${EXPECTED} "${actual}")
  return()
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "orva-host ${args} differs from the native tool's run:\n"
    "--- expected (${EXPECTED})\n${expected}\n--- actual\n${actual}")
endif()
