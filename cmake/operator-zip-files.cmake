# Makes the operator's files beside the installed DLL, while CPack packs the
# operator's zip (it installs the build into a staging folder first) or the
# build is installed by hand: the user guide as one HTML page that needs
# nothing beside it, the sample reference file under a name the plug-in never
# reads (so unpacking the zip into the host's folder installs no sample
# references), the changelog, the licence, and the SHA-256 sums of these and
# of the two programs. Text files end their lines with CR LF, as Windows
# editors expect.
#
# The install rule in operator-zip.cmake sets ORVA_ZIP_VERSION,
# ORVA_ZIP_SOURCE_DIR, ORVA_ZIP_DLL, ORVA_ZIP_SCREENSHOT,
# ORVA_ZIP_PAGE_SCREENSHOT, ORVA_ZIP_CMARK and ORVA_ZIP_BASE64.

set(ORVA_ZIP_PAGE [=[<!DOCTYPE html>
<html xmlns="http://www.w3.org/1999/xhtml" lang="en" xml:lang="en">
<head>
<meta charset="utf-8" />
<meta name="viewport" content="width=device-width, initial-scale=1" />
<title>@TITLE@</title>
<style>
body { max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.5;
  font-family: "Segoe UI", Tahoma, Arial, sans-serif; color: #1a1a1a; }
h1, h2, h3 { line-height: 1.2; }
code, pre { font-family: Consolas, "Courier New", monospace; }
pre { padding: 0.5em 0.8em; overflow-x: auto; background: #f3f3f3; }
img { max-width: 100%; height: auto; border: 1px solid #999; }
blockquote { margin-left: 0; padding-left: 1em; border-left: 3px solid #ccc; }
table { border-collapse: collapse; }
th, td { padding: 0.2em 0.7em; border-bottom: 1px solid #ccc; text-align: left;
  vertical-align: top; }
</style>
</head>
<body>
@BODY@</body>
</html>
]=])

# Writes text with every line ended by CR LF, whatever its source used, the
# last line included.
function(orva_write_crlf destination text)
  string(REPLACE "\r\n" "\n" text "${text}")
  if(NOT text STREQUAL "" AND NOT text MATCHES "\n$")
    string(APPEND text "\n")
  endif()
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${destination} "${text}")
endfunction()

function(orva_copy_crlf source destination)
  file(READ ${source} text)
  orva_write_crlf(${destination} "${text}")
endfunction()

# A screenshot older than the DLL may show a window that has changed since.
function(orva_check_screenshots)
  if(NOT EXISTS ${ORVA_ZIP_SCREENSHOT} OR ${ORVA_ZIP_DLL} IS_NEWER_THAN ${ORVA_ZIP_SCREENSHOT})
    message(FATAL_ERROR "${ORVA_ZIP_SCREENSHOT} is missing or older than the DLL: run the "
      "Windows tests first (xvfb-run -a ctest --preset windows), which take the screenshot "
      "the user guide shows")
  endif()
  if(NOT EXISTS ${ORVA_ZIP_PAGE_SCREENSHOT})
    message(FATAL_ERROR "${ORVA_ZIP_PAGE_SCREENSHOT} is missing: run the native tests first "
      "(ctest --preset native), which take the summary page's screenshot the user guide shows")
  endif()
endfunction()

# The guide refers to a screenshot by its file name, as an image beside the
# Markdown; the page carries the picture itself instead, as a data: URI.
function(orva_embed_screenshot html_variable screenshot)
  get_filename_component(name ${screenshot} NAME)
  set(html "${${html_variable}}")
  string(FIND "${html}" "src=\"${name}\"" reference)
  if(reference EQUAL -1)
    message(FATAL_ERROR "docs/USER-GUIDE.md shows no ${name}: the guide shows it "
      "with ![...](${name})")
  endif()
  execute_process(COMMAND ${ORVA_ZIP_BASE64} -w 0 ${screenshot}
    OUTPUT_VARIABLE data RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "base64 of ${screenshot} failed (${status})")
  endif()
  string(REPLACE "src=\"${name}\"" "src=\"data:image/png;base64,${data}\"" html "${html}")
  set(${html_variable} "${html}" PARENT_SCOPE)
endfunction()

# Markdown as a forge previews it (tables, bare links, strike-through).
# cmark's default leaves out raw HTML and unsafe links, so the page holds only
# what Markdown writes, which is well-formed as XML too.
function(orva_write_user_guide destination)
  if(NOT ORVA_ZIP_CMARK)
    message(FATAL_ERROR "cmark-gfm is missing: install it (scripts/install-deps) and configure "
      "again")
  endif()
  orva_check_screenshots()
  execute_process(COMMAND ${ORVA_ZIP_CMARK} --extension table --extension autolink
      --extension strikethrough --table-prefer-style-attributes
      ${ORVA_ZIP_SOURCE_DIR}/docs/USER-GUIDE.md
    OUTPUT_VARIABLE body RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmark-gfm could not render docs/USER-GUIDE.md (${status})")
  endif()
  orva_embed_screenshot(body ${ORVA_ZIP_SCREENSHOT})
  orva_embed_screenshot(body ${ORVA_ZIP_PAGE_SCREENSHOT})
  set(page "${ORVA_ZIP_PAGE}")
  string(REPLACE "@TITLE@" "ORVA DX Contest ${ORVA_ZIP_VERSION}: user guide" page "${page}")
  string(REPLACE "@BODY@" "${body}" page "${page}")
  orva_write_crlf(${destination} "${page}")
endfunction()

# In the format sha256sum -c reads: the sum, two spaces, the file name.
function(orva_write_sums folder)
  set(sums "")
  foreach(name ${ARGN})
    file(SHA256 ${folder}/${name} sum)
    string(APPEND sums "${sum}  ${name}\n")
  endforeach()
  orva_write_crlf(${folder}/SHA256SUMS.txt "${sums}")
endfunction()

set(ORVA_ZIP_FOLDER "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
message(STATUS "Making the operator's files in ${ORVA_ZIP_FOLDER}")
orva_write_user_guide(${ORVA_ZIP_FOLDER}/USER-GUIDE.html)
orva_copy_crlf(${ORVA_ZIP_SOURCE_DIR}/examples/ORVA.txt ${ORVA_ZIP_FOLDER}/ORVA-example.txt)
orva_copy_crlf(${ORVA_ZIP_SOURCE_DIR}/CHANGELOG.md ${ORVA_ZIP_FOLDER}/CHANGELOG.txt)
orva_copy_crlf(${ORVA_ZIP_SOURCE_DIR}/LICENSE ${ORVA_ZIP_FOLDER}/LICENSE.txt)
orva_write_sums(${ORVA_ZIP_FOLDER} RARIREZazoriz.dll orva-host.exe USER-GUIDE.html
  ORVA-example.txt CHANGELOG.txt LICENSE.txt)
foreach(name USER-GUIDE.html ORVA-example.txt CHANGELOG.txt LICENSE.txt SHA256SUMS.txt)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${ORVA_ZIP_FOLDER}/${name})
endforeach()
