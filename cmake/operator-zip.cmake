# The operator's zip: what a Windows user downloads and unpacks, packed by
# CPack from the Windows build (cpack --preset windows, after the Windows
# tests). It holds, at its top level, the DLL, the tools orva-host.exe
# (host/CMakeLists.txt installs it), the user guide as one HTML page with its
# screenshots inside it, the sample reference file, the changelog, the
# licence and their SHA-256 sums. Both programs are stripped
# (debug-symbols.cmake).
#
# The screenshot is the one the Win32 test host takes under Wine and Xvfb
# (the win32_test_host test): packing takes it from there rather than running
# the host again, since the tests run before a release anyway and only they
# set Wine up to draw the window as Windows does.
set(ORVA_SCREENSHOT ${CMAKE_BINARY_DIR}/window.png)
# The summary page's screenshot is the one the native build's tests take
# with Chromium (orva_host_page_generated): the page is the same on both
# systems, and only the native build runs a browser.
set(ORVA_PAGE_SCREENSHOT ${PROJECT_SOURCE_DIR}/build/native/summary-page.png CACHE FILEPATH
  "The summary page's screenshot for the user guide, taken by the native build's tests")
# The GitHub-flavoured build of cmark, for the tables the guide has: plain
# CommonMark would print them as lines of pipes.
find_program(ORVA_CMARK_GFM cmark-gfm)
find_program(ORVA_BASE64 base64)

# The files sit at the zip's top level: Windows' "Extract All" already makes
# a folder named after the zip, and the DLL can be unpacked straight into the
# host's Plugins folder.
install(FILES $<TARGET_FILE:RARIREZazoriz> DESTINATION .)
install(CODE "
  set(ORVA_ZIP_VERSION [[${PROJECT_VERSION}]])
  set(ORVA_ZIP_SOURCE_DIR [[${PROJECT_SOURCE_DIR}]])
  set(ORVA_ZIP_DLL [[$<TARGET_FILE:RARIREZazoriz>]])
  set(ORVA_ZIP_SCREENSHOT [[${ORVA_SCREENSHOT}]])
  set(ORVA_ZIP_PAGE_SCREENSHOT [[${ORVA_PAGE_SCREENSHOT}]])
  set(ORVA_ZIP_CMARK [[${ORVA_CMARK_GFM}]])
  set(ORVA_ZIP_BASE64 [[${ORVA_BASE64}]])
  include([[${PROJECT_SOURCE_DIR}/cmake/operator-zip-files.cmake]])
")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME orva-dx-contest)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME orva-dx-contest-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
