# Checks that the host carries none of the plug-in's own code: it loads the
# plug-in with dlopen and links only the scoring library. A second copy of
# the window or the exports inside the host would be code that no test of
# the loaded plug-in covers, and process-wide state that is not the plug-in's.
#
# Every symbol that an object of the window or the exports defines for the
# linker (strong and external: the exports, the window's classes, their
# functions and data) must be missing from the host, and so must every
# symbol of the window's classes, header-only ones included.
#
#   cmake -DNM=<nm> -DHOST=<orva-host> -DOBJECTS=<objects> -P no_plugin_code.cmake
function(symbols output)
  execute_process(COMMAND ${NM} --defined-only --format=posix ${ARGN}
    OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} ${ARGN} failed (${status}): ${errors}")
  endif()
  set(${output} "${listing}" PARENT_SCOPE)
endfunction()

symbols(own ${OBJECTS})
string(REGEX MATCHALL "(^|\n)[^ \n]+ [TDBRGS] " strong "${own}")
list(TRANSFORM strong REPLACE "^\n?([^ ]+) .*" "\\1")
list(LENGTH strong count)
if(count EQUAL 0)
  message(FATAL_ERROR "no symbols read from the plug-in's objects: ${OBJECTS}")
endif()

symbols(host ${HOST})
set(host "\n${host}")
# A stripped host would pass whatever it carried; the scoring code it does
# link shows that its symbols are there to be read.
if(NOT host MATCHES "\n[^ \n]*8TContest")
  message(FATAL_ERROR "${HOST} lists no symbol of the scoring library: stripped?")
endif()
set(found "")
foreach(name IN LISTS strong)
  string(FIND "${host}" "\n${name} " at)
  if(NOT at EQUAL -1)
    list(APPEND found ${name})
  endif()
endforeach()
# The classes by their mangled names, which carry each name's length.
string(REGEX MATCHALL "\n[^ \n]*(11TfmMainForm|12TFormStorage|7TAction)[^ \n]* " classes "${host}")
list(TRANSFORM classes STRIP)
list(APPEND found ${classes})
if(found)
  list(JOIN found "\n  " found)
  message(FATAL_ERROR "${HOST} carries the plug-in's code:\n  ${found}")
endif()
