# Writes the generated log of 10,000 QSOs to LOG with the log writer WRITER
# ("|"-separated: Wine runs the Windows one), its line ends LF whatever the
# writer's system writes, so that both builds read the very same bytes.
string(REPLACE "|" ";" writer "${WRITER}")
execute_process(COMMAND ${writer} adif 10000 OUTPUT_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the log writer failed (${status})")
endif()
string(REPLACE "\r\n" "\n" log "${log}")
file(WRITE ${LOG} "${log}")
