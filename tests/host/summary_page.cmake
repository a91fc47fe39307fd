# The summary page as its reader meets it: orva-host writes it for the LOGS
# given (options and files separated by "|", named from DIRECTORY, or made
# as generated_log.cmake says); it is well-formed, names no file, address or
# style outside itself, and in headless Chromium (browser/page_test.mjs, with
# the driver that browser/install_driver.cmake installed in DRIVER) it asks
# for nothing outside itself, draws every chart in at least MIN_HUES hues,
# fits a desktop screen, a phone and paper, and shows the figures of the
# logs' JSON summary. With SCREENSHOT, the top of the page on a screen of
# SCREENSHOT_SIZE (WIDTHxHEIGHT) is taken there, for the user guide.
#
#   -DHOST -DLOGS -DDIRECTORY -DWORK -DCHROMIUM -DXMLLINT -DNODE -DNPM -DDRIVER
#   -DTEST_SCRIPT -DMIN_HUES [-DSCREENSHOT -DSCREENSHOT_SIZE]
if(NOT CHROMIUM OR NOT XMLLINT OR NOT NODE OR NOT NPM)
  message("SKIPPED: chromium, xmllint, node or npm is missing (scripts/install-deps "
    "installs them all)")
  return()
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(page ${WORK}/page.html)
include(${CMAKE_CURRENT_LIST_DIR}/generated_log.cmake)
string(REPLACE "|" ";" logs "${LOGS}")

# The page, written to its file, and the JSON summary that says what figures
# it has to show.
function(run_host)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${HOST} ${logs} ${ARGN}
    WORKING_DIRECTORY ${DIRECTORY} OUTPUT_FILE ${WORK}/output ERROR_VARIABLE errors
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "orva-host ${ARGN} exited with ${status}:\n${errors}")
  endif()
endfunction()
run_host(--html ${page})
run_host(--summary --json)
file(RENAME ${WORK}/output ${WORK}/summary.json)

execute_process(COMMAND ${XMLLINT} --noout ${page} ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "the page is not well-formed:\n${errors}")
endif()
# Anything a browser would fetch: an element that loads, an attribute that
# names an address, a style that imports or points elsewhere.
set(fetching "//@src|//@href|//@srcset|//@data|//@action|//@poster|//link|//base|//iframe"
  "|//object|//embed|//img|//video|//audio|//source|//meta[@http-equiv]")
string(CONCAT fetching ${fetching})
execute_process(COMMAND ${XMLLINT} --xpath "${fetching}" ${page}
  OUTPUT_VARIABLE found ERROR_VARIABLE errors)
if(NOT found STREQUAL "" OR NOT errors MATCHES "XPath set is empty")
  message(FATAL_ERROR "the page refers to something outside itself:\n${found}")
endif()
execute_process(COMMAND ${XMLLINT} --xpath "string(//style)" ${page} OUTPUT_VARIABLE style)
if(style STREQUAL "" OR style MATCHES "url\\(|@import")
  message(FATAL_ERROR "the page's style is missing or fetches:\n${style}")
endif()
file(READ ${page} text)
if(text MATCHES "fetch\\(|XMLHttpRequest|WebSocket|importScripts")
  message(FATAL_ERROR "the page's scripts could fetch: ${CMAKE_MATCH_0}")
endif()

set(screenshot)
if(SCREENSHOT)
  set(screenshot --screenshot ${SCREENSHOT} --screenshot-size ${SCREENSHOT_SIZE})
endif()
execute_process(COMMAND ${NODE} ${TEST_SCRIPT} --driver ${DRIVER} --chromium ${CHROMIUM}
    --page ${page} --summary ${WORK}/summary.json --min-hues ${MIN_HUES} ${screenshot}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
message("${output}${errors}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the page failed in Chromium (${status})")
endif()
