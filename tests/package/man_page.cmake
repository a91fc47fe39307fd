# The manual page as help2man makes it from --help and its include file
# (PAGE, gzipped): the sections an operator looks for, the modes, options and
# commands as lists under headings of their own, and none of the option
# library's notes about itself.
if(NOT HELP2MAN)
  message("SKIPPED: help2man is missing, so the build makes no manual page")
  return()
endif()
execute_process(COMMAND gzip -dc ${PAGE} OUTPUT_VARIABLE page RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read ${PAGE}")
endif()

function(expect_heading macro title)
  if(NOT page MATCHES "\n\\${macro} \"?${title}")
    message(FATAL_ERROR "the manual page has no ${macro} ${title}:\n${page}")
  endif()
endfunction()

foreach(section NAME SYNOPSIS DESCRIPTION "SCORING RULES" "THE REPORT" "EXIT STATUS" ENVIRONMENT
    FILES EXAMPLES)
  expect_heading(.SH "${section}")
endforeach()
foreach(group "What to do \\(at most one" "Logs" "Other options" "Commands")
  expect_heading(.SS "${group}")
endforeach()
if(NOT page MATCHES "\n\\.SS \"What to do[^\n]*\n\\.TP\n\\\\fB\\\\-\\\\-score\\\\fR\n")
  message(FATAL_ERROR "the modes are no list:\n${page}")
endif()
foreach(internal "Option Group" "of the following options" "=LOG" "Excludes" "FILE:FILE")
  string(FIND "${page}" "${internal}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the manual page shows the option library's '${internal}':\n${page}")
  endif()
endforeach()
