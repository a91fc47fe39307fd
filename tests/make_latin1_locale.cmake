# Makes the Latin-1 German locale in a folder of the build's own, FOLDER, for
# the tests of letter case beyond ASCII, which find it through LOCPATH. A
# machine without the locale sources (Debian's locales package) gets none,
# says so, and those tests skip.
set(locale de_DE.ISO-8859-1)
if(EXISTS ${FOLDER}/${locale}/LC_CTYPE)
  return()
endif()
file(MAKE_DIRECTORY ${FOLDER})
execute_process(COMMAND localedef -i de_DE -f ISO-8859-1 ${FOLDER}/${locale}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE_RECURSE ${FOLDER}/${locale})
  message("cannot make the locale ${locale} (localedef: ${status}) ${output}"
    "the tests that need it skip")
endif()
