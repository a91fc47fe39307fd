# Runs a copy of the test host, under a name of its own, with the screen at
# 120 pixels per inch, and then puts the density back as it was. Wine reads
# the density from the user's settings when a program starts, so the setting
# is made from here, before the host starts.
set(desktop "HKCU\\Control Panel\\Desktop")
execute_process(COMMAND ${WINE} reg query ${desktop} /v LogPixels OUTPUT_VARIABLE before)
execute_process(COMMAND ${WINE} reg add ${desktop} /v LogPixels /t REG_DWORD /d 120 /f
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot set the screen's density (${status})")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/host_copy.cmake)
run_host_copy(${FOLDER} ${FOLDER} density_host.exe --density)
if(before MATCHES "LogPixels +REG_DWORD +(0x[0-9a-fA-F]+)")
  execute_process(COMMAND ${WINE} reg add ${desktop} /v LogPixels /t REG_DWORD
    /d ${CMAKE_MATCH_1} /f OUTPUT_QUIET)
else()
  execute_process(COMMAND ${WINE} reg delete ${desktop} /v LogPixels /f OUTPUT_QUIET)
endif()
message(STATUS "${host_output}")
if(NOT host_status EQUAL 0)
  message(FATAL_ERROR "the host at 120 pixels per inch failed (${host_status})")
endif()
