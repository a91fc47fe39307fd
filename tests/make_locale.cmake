# Makes the locale LOCALE (such as de_DE.ISO-8859-1: the locale's source, a
# dot, its character map) in a folder of the build's own, FOLDER, for the
# tests that need a locale few machines have installed; they find it through
# LOCPATH. A machine without the locale sources (Debian's locales package)
# gets none and says so; the tests that need it skip or name what is missing.
string(REGEX MATCH "^([^.]+)\\.(.+)$" parts ${LOCALE})
set(source ${CMAKE_MATCH_1})
set(charmap ${CMAKE_MATCH_2})
if(EXISTS ${FOLDER}/${LOCALE}/LC_CTYPE)
  return()
endif()
file(MAKE_DIRECTORY ${FOLDER})
execute_process(COMMAND localedef -i ${source} -f ${charmap} ${FOLDER}/${LOCALE}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE_RECURSE ${FOLDER}/${LOCALE})
  message("cannot make the locale ${LOCALE} (localedef: ${status}) ${output}"
    "the tests that need it skip")
endif()
