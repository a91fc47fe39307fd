# After orva-host.exe ran (every parity run and the tests of its own), the
# registry holds no key of its: the plug-in would keep its window's place
# under Software\<program name>, and the tools must show no window nor keep
# anything. Wine's own registry tool looks, as a user would.
foreach(key "HKCU\\Software\\orva-host" "HKLM\\Software\\orva-host")
  execute_process(COMMAND ${WINE} reg query "${key}" OUTPUT_VARIABLE listing
    ERROR_QUIET RESULT_VARIABLE status)
  if(status EQUAL 0)
    message(FATAL_ERROR "orva-host.exe left the registry key ${key}:\n${listing}")
  endif()
endforeach()
