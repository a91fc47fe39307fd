# Puts Wine's own fonts (Debian's fonts-wine) into the prefix's Fonts folder,
# where Windows keeps its fonts. Debian's Wine 8 looks for them under a path
# its file layer cannot open, and never finds them: the title bar's buttons,
# drawn with the Marlett font, would then show as letters of another font and
# the dialog font would not be Tahoma, so the tests and the screenshot would
# not see the window as Windows draws it.
if(NOT EXISTS ${FONTS}/marlett.ttf)
  message(FATAL_ERROR "${FONTS}/marlett.ttf is missing: install fonts-wine (scripts/install-deps)")
endif()
# Wine shows the Unix root as drive Z:.
string(REPLACE "/" "\\" source "Z:${FONTS}/*.*")
execute_process(COMMAND ${WINE} cmd /c copy /y ${source} "C:\\windows\\Fonts\\"
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "copying Wine's fonts failed (${status}):\n${output}")
endif()
