# The package's Debian changelog made from a Markdown changelog: versioned
# releases only, items grouped and wrapped, dated by their heading (else by
# SOURCE_DATE_EPOCH), and read by dpkg without a complaint; a missing
# Markdown changelog fails instead of giving an empty one.
set(made ${WORK}/changelog)
set(maintainer "ORVA maintainers <maintainers@orva.invalid>")
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=1796774400
    ${CONVERTER} ${SAMPLES}/changelog.md orva-host ${maintainer} ${made}
  RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the changelog was not made (${status}):\n${errors}")
endif()
file(READ ${made} actual)
file(READ ${SAMPLES}/changelog.expected expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "the changelog differs:\n--- expected\n${expected}\n--- actual\n${actual}")
endif()

execute_process(COMMAND dpkg-parsechangelog -l ${made} --all
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE complaints)
if(NOT status EQUAL 0 OR NOT complaints STREQUAL "")
  message(FATAL_ERROR "dpkg does not read the changelog cleanly:\n${complaints}")
endif()

execute_process(COMMAND ${CONVERTER} ${SAMPLES}/missing.md orva-host ${maintainer}
    ${WORK}/changelog-of-nothing
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
  message(FATAL_ERROR "a missing Markdown changelog made a changelog")
endif()
