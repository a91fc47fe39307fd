# The summary page as its reader meets it: orva-host writes it for the LOGS
# given (options and files separated by "|", named from DIRECTORY, or made
# as generated_log.cmake says); it is well-formed, names no
# file, address or style outside itself, and Chromium, run headless with no
# network, draws its charts: the screenshot (SCREENSHOT, WIDTH x HEIGHT)
# holds the charts' colours, which nothing else on the page has.
#
#   -DHOST -DLOGS -DDIRECTORY -DWORK -DCHROMIUM -DXMLLINT -DPNG_COLOURS -DSCREENSHOT
#   -DWIDTH -DHEIGHT -DMIN_HUES (the colours a drawn page holds at least)
if(NOT CHROMIUM OR NOT XMLLINT)
  message("SKIPPED: chromium or xmllint is missing (scripts/install-deps installs both)")
  return()
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(page ${WORK}/page.html)
include(${CMAKE_CURRENT_LIST_DIR}/generated_log.cmake)
string(REPLACE "|" ";" logs "${LOGS}")

execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
    ${HOST} ${logs} --html ${page}
  WORKING_DIRECTORY ${DIRECTORY} ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "orva-host --html exited with ${status}:\n${errors}")
endif()

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

# Any address the browser still asked for would not resolve.
execute_process(COMMAND ${CHROMIUM} --headless --no-sandbox --disable-gpu --disable-quic
    --no-first-run --disable-background-networking --disable-component-update --disable-sync
    --hide-scrollbars "--host-resolver-rules=MAP * ~NOTFOUND" --user-data-dir=${WORK}/profile
    --window-size=${WIDTH},${HEIGHT} --screenshot=${SCREENSHOT} file://${page}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${SCREENSHOT})
  message(FATAL_ERROR "chromium took no screenshot (${status}):\n${output}${errors}")
endif()
# A drawn chart colours thousands of pixels; the page without charts none.
execute_process(COMMAND ${PNG_COLOURS} ${SCREENSHOT} 5000 ${MIN_HUES}
  OUTPUT_VARIABLE counted RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the screenshot shows no charts drawn: ${counted}")
endif()
message("${counted}")
