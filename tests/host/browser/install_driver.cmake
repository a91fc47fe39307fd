# Installs the browser driver of the page tests into DRIVER in the build tree:
# package.json and package-lock.json of SOURCE, by npm ci, exactly the
# versions the lock file names and no install scripts. Only when what DRIVER
# holds was installed from another lock file (or none): a test run asks the
# npm registry on its first run and after the lock file changed, never else.
#
#   -DNODE -DNPM -DSOURCE -DDRIVER
if(NOT NODE OR NOT NPM)
  message("SKIPPED: node or npm is missing (scripts/install-deps installs Debian's nodejs "
    "and npm)")
  return()
endif()
file(SHA256 ${SOURCE}/package-lock.json wanted)
set(stamp ${DRIVER}/installed-from.sha256)
if(EXISTS ${stamp})
  file(READ ${stamp} installed)
  if(installed STREQUAL wanted)
    message("the driver is installed from this lock file")
    return()
  endif()
endif()

file(REMOVE_RECURSE ${DRIVER})
file(MAKE_DIRECTORY ${DRIVER})
file(COPY ${SOURCE}/package.json ${SOURCE}/package-lock.json DESTINATION ${DRIVER})
execute_process(COMMAND ${NPM} ci --ignore-scripts --no-audit --no-fund
  WORKING_DIRECTORY ${DRIVER} OUTPUT_VARIABLE output ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "npm ci could not install the driver (${status}):\n${output}${errors}")
endif()
file(WRITE ${stamp} "${wanted}")
message("${output}")
