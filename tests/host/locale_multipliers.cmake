# Scores a log of two QSOs with one reference, on the bands "\xC4" and "\xE4",
# under the locale its environment names, and checks the total multipliers:
# one where the two bands are one letter in two cases (Latin-1 German, named
# by LC_CTYPE or by LANG), two under the C locale. The Latin-1 locale is made
# by the test orva_latin1_locale in LOCPATH; without it the test skips.
if(NOT EXISTS ${LOCPATH}/de_DE.ISO-8859-1/LC_CTYPE)
  message("SKIPPED: no locale de_DE.ISO-8859-1 in ${LOCPATH} (see the test orva_latin1_locale)")
  return()
endif()

function(expect_multipliers count)
  file(REMOVE_RECURSE ${CONFIG})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LC_ALL --unset=LC_CTYPE --unset=LANG
      LOCPATH=${LOCPATH} XDG_CONFIG_HOME=${CONFIG} ${ARGN} ${HOST} --log ${LOG} --score
    OUTPUT_VARIABLE report ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT report MATCHES "\nTotal\t +2\t +30\t +${count}\n")
    message(FATAL_ERROR "under ${ARGN}: expected ${count} multipliers and exit status 0, "
      "got ${status}:\n${report}${errors}")
  endif()
endfunction()

expect_multipliers(1 LC_CTYPE=de_DE.ISO-8859-1)
expect_multipliers(1 LANG=de_DE.ISO-8859-1)
expect_multipliers(2 LC_CTYPE=C)
