# Writes a C++ source holding a text file's bytes as one string, so that a
# program carries the file inside itself: the chart library that the summary
# page inlines, read at build time from where the system's package put it.
# The string also stands inside the page's <script> element, within a CDATA
# section, so the text must not hold what would end either early.
#
#   cmake -DINPUT=chart.min.js -DOUTPUT=chart_library.cpp -DHEADER=host/summary/chart_library.h
#         -DNAME=kChartLibrary -P inline_text.cmake
file(READ ${INPUT} text)
set(delimiter orva_inline)
string(FIND "${text}" ")${delimiter}\"" clash)
string(TOLOWER "${text}" lower)
string(FIND "${lower}" "</script" closing)
string(FIND "${lower}" "<!--" comment)
string(FIND "${lower}" "]]>" section)
if(NOT clash EQUAL -1 OR NOT closing EQUAL -1 OR NOT comment EQUAL -1 OR NOT section EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds \")${delimiter}\", \"</script\", \"<!--\" or \"]]>\": "
    "it cannot be inlined as it is")
endif()
get_filename_component(source ${INPUT} NAME)
file(WRITE ${OUTPUT} "// Generated at build time from ${source} by cmake/inline_text.cmake.
#include \"${HEADER}\"

namespace orva::host {

const char ${NAME}[] = R\"${delimiter}(${text})${delimiter}\";
const std::size_t ${NAME}Size = sizeof ${NAME} - 1;

}  // namespace orva::host
")
