# Reads the test host's placement back with Wine's own registry tool, as a
# user would look at it: the ten values of the window's section, each stored
# as text.
execute_process(COMMAND ${WINE} reg query "HKCU\\Software\\win32_test_host\\TfmMainForm"
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "reg query failed (${status}):\n${listing}")
endif()
foreach(name FormVersion Flags ShowCmd PixelsPerInch "MinMaxPos\\([0-9]+x[0-9]+\\)" MinMaxPos
    "NormPos\\([0-9]+x[0-9]+\\)" NormPos Visible CurrentBand)
  if(NOT listing MATCHES "\n +${name} +REG_SZ +[^\n]*")
    message(FATAL_ERROR "no text value ${name} in:\n${listing}")
  endif()
endforeach()
string(REGEX MATCHALL "REG_[A-Z_]+" types "${listing}")
list(LENGTH types count)
if(NOT count EQUAL 10)
  message(FATAL_ERROR "expected ten values, found ${count}:\n${listing}")
endif()
message(STATUS "${listing}")
