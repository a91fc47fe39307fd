# Read by cpack before it makes the Debian package: the tools it is made
# with, each named with the Debian package that holds it, so that a machine
# set up only for the native build is told in one line what to install
# instead of meeting CPack's own error halfway through.
set(missing)
if(NOT CPACK_ORVA_HELP2MAN)
  list(APPEND missing help2man)
endif()
foreach(tool_and_package "dpkg-shlibdeps|dpkg-dev" "file|file")
  string(REPLACE "|" ";" tool_and_package "${tool_and_package}")
  list(GET tool_and_package 0 tool)
  list(GET tool_and_package 1 package)
  find_program(ORVA_PACKAGE_TOOL_${tool} ${tool})
  if(NOT ORVA_PACKAGE_TOOL_${tool})
    list(APPEND missing ${package})
  endif()
endforeach()
if(missing)
  list(JOIN missing " " missing)
  message(FATAL_ERROR "the Debian package needs the Debian packages ${missing}: "
    "install them (scripts/install-deps does) and configure again")
endif()
