# Makes the reference file from the old logs of SAMPLES (tests/host/reference)
# over an older file of the same name, and checks that it holds exactly
# ORVA.expected, with the messages of made.errors, and passes its own check
# (notes aside). Then the table of files made: the reference given most
# often, the latest among equals in time order whatever order the logs are
# given in, the shapes kept and left out, --keep-all, and a log without QSOs
# among others, left out. Then makes it again with a log that cannot be
# read, a Cabrillo log given as ADIF, logs that all give no QSO, logs whose
# QSOs carry no reference or none of two letters and digits, and into a
# folder that does not exist: each fails with status 2 and a reason, and the
# file made before stands byte for byte. HOST may be "|"-separated (Wine and
# orva-host.exe), whose messages end lines with CR LF.
string(REPLACE "|" ";" HOST "${HOST}")
set(CABRILLO_LOG ${SAMPLES}/old-2024.log)
set(LOGS --cabrillo ${CABRILLO_LOG} --adif ${SAMPLES}/old-2025.adi)
set(EXPECTED ${SAMPLES}/ORVA.expected)
set(EXPECTED_ERRORS ${SAMPLES}/made.errors)
set(SERIALS_LOG ${SAMPLES}/serials.adi)
set(EMPTY_LOG ${SAMPLES}/empty.adi)
set(dir ${WORK}/make-reference)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir})
set(made ${dir}/ORVA.txt)
file(WRITE ${made} "OLD=EU-001\r\n")

function(run_host status_out output_out errors_out)
  execute_process(COMMAND ${HOST} ${ARGN}
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" output "${output}")
  string(REPLACE "\r\n" "\n" errors "${errors}")
  set(${status_out} ${status} PARENT_SCOPE)
  set(${output_out} "${output}" PARENT_SCOPE)
  set(${errors_out} "${errors}" PARENT_SCOPE)
endfunction()

function(expect_file_is path expected_path)
  file(READ ${path} actual HEX)
  file(READ ${expected_path} expected HEX)
  if(NOT actual STREQUAL expected)
    file(READ ${path} shown)
    message(FATAL_ERROR "${path} differs from ${expected_path}:\n${shown}")
  endif()
endfunction()

run_host(status output errors ${LOGS} --make-reference ${made})
file(READ ${EXPECTED_ERRORS} expected_errors)
if(NOT status EQUAL 0 OR NOT errors STREQUAL expected_errors)
  message(FATAL_ERROR "making the file gave ${status}:\n${errors}\n--- expected\n${expected_errors}")
endif()
expect_file_is(${made} ${EXPECTED})

# It passes: its one note, a station that sends a reference of no continent,
# leaves the status 0.
run_host(status output errors --check-reference ${made})
set(note "^[^\n]*ORVA.txt:4: note: pre-fills 'AN-016', whose reference starts with no continent")
if(NOT status EQUAL 0 OR NOT output MATCHES "${note}: worth 0 points\n$" OR errors)
  message(FATAL_ERROR "the made file does not pass its check (${status}):\n${output}${errors}")
endif()

# Each row: the file (NAME.expected) and messages (NAME.errors) that the
# logs after it make, over an older file.
function(expect_made name)
  set(path ${dir}/${name}.txt)
  file(WRITE ${path} "OLD=EU-001\r\n")
  run_host(status output errors ${ARGN} --make-reference ${path})
  file(READ ${SAMPLES}/${name}.errors expected_errors)
  if(NOT status EQUAL 0 OR NOT errors STREQUAL expected_errors)
    message(FATAL_ERROR "${ARGN} gave ${status}:\n${errors}\n--- expected\n${expected_errors}")
  endif()
  expect_file_is(${path} ${SAMPLES}/${name}.expected)
endfunction()
expect_made(choices --adif ${SAMPLES}/choices.adi)
expect_made(choices-keep-all --adif ${SAMPLES}/choices.adi --keep-all)
expect_made(later --adif ${SAMPLES}/later-2025.adi --cabrillo ${CABRILLO_LOG})
expect_made(later --cabrillo ${CABRILLO_LOG} --adif ${SAMPLES}/later-2025.adi)

# A log without QSOs among others is named and left out; the file is made
# from the rest, with status 1.
run_host(status output errors ${LOGS} --adif ${EMPTY_LOG} --make-reference ${dir}/rest.txt)
string(REGEX REPLACE "^[^\n]*empty.adi holds no QSO to score\n[^\n]*empty.adi gave no QSO: left out, \
the file made from the others\n" "" rest "${errors}")
if(NOT status EQUAL 1 OR rest STREQUAL errors OR NOT rest STREQUAL expected_errors)
  message(FATAL_ERROR "a log without QSOs among others gave ${status}:\n${errors}")
endif()
expect_file_is(${dir}/rest.txt ${EXPECTED})

function(expect_failure reason)
  run_host(status output errors ${ARGN})
  if(NOT status EQUAL 2 OR NOT errors MATCHES "orva-host: ${reason}")
    message(FATAL_ERROR "a failed make gave ${status}, not '${reason}':\n${errors}")
  endif()
  expect_file_is(${made} ${EXPECTED})
endfunction()

set(kept ": [^\n]*ORVA.txt left as it was\n")
expect_failure("cannot open [^\n]*\norva-host: [^\n]*missing.adi could not be read${kept}"
  ${LOGS} --adif ${dir}/missing.adi --make-reference ${made})
expect_failure("[^\n]*old-2024.log looks like a Cabrillo log: use --cabrillo\n"
  ${LOGS} --adif ${CABRILLO_LOG} --make-reference ${made})
expect_failure("[^\n]*empty.adi gave no QSO${kept}" --adif ${EMPTY_LOG} --make-reference ${made})
expect_failure("no log gave a QSO${kept}"
  --adif ${EMPTY_LOG} --adif ${EMPTY_LOG} --make-reference ${made})
expect_failure("no QSO of the logs carried a reference of two letters and digits${kept}"
  --adif ${SERIALS_LOG} --make-reference ${made})
expect_failure("left out 2 callsigns whose exchanges end in no reference of two letters and digits \
\\(VOLKER, ANS124\\). --keep-all keeps them\norva-host: no QSO of the logs carried a reference of \
two letters and digits${kept}" --adif ${SAMPLES}/names.adi --make-reference ${made})
expect_failure("cannot write " ${LOGS} --make-reference ${dir}/no-such-folder/ORVA.txt)

# Standard output that takes nothing is told as a file that cannot be
# written is, with status 2.
if(EXISTS /dev/full)
  execute_process(COMMAND ${HOST} ${LOGS} --make-reference - OUTPUT_FILE /dev/full
    ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 2 OR NOT errors MATCHES "orva-host: cannot write standard output: ")
    message(FATAL_ERROR "a full standard output gave ${status}:\n${errors}")
  endif()
endif()
