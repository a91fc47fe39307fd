# orva-host.exe called as a Windows user calls it, under Wine (WINE, HOST):
# logs in a folder with a blank in its name, named with a drive letter and
# backslashes, one file name in the ANSI code page and one beyond it; a log
# given alone, as when dropped on the program; the reference file made there
# with its CR LF bytes and checked, and nothing else left in the folder; /?
# as --help; and the messages for what only the Linux tool reads (SQLite
# logs, --log). SAMPLES is tests/import, SQLITE_LOG an SQLite log, WORK a
# folder of the test's own.
file(REMOVE_RECURSE ${WORK})
set(folder "${WORK}/My Logs")
file(MAKE_DIRECTORY "${folder}")
string(REPLACE "/" "\\" windows_folder "Z:${folder}")

# Runs orva-host.exe; sets status, output and errors (LF line ends). A
# function, not a macro: a macro's arguments are read again as code, and the
# backslashes of a Windows path would be taken for escapes.
function(run)
  execute_process(COMMAND ${WINE} ${HOST} ${ARGN}
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" output "${output}")
  string(REPLACE "\r\n" "\n" errors "${errors}")
  set(status "${status}" PARENT_SCOPE)
  set(output "${output}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

function(expect what expected_status output_pattern errors_pattern)
  if(NOT status EQUAL expected_status OR NOT output MATCHES "${output_pattern}"
      OR NOT errors MATCHES "${errors_pattern}")
    message(FATAL_ERROR "${what}: exit ${status}\n--- output\n${output}\n--- errors\n${errors}")
  endif()
  message(STATUS "ok ${what}")
endfunction()

set(score "\n Score: 124\\*10=1240\n$")
foreach(name "Ärger 2025.adi" "λόγος 2025.adi")
  configure_file(${SAMPLES}/sample.adi "${folder}/${name}" COPYONLY)
  run(--score "${windows_folder}\\${name}")
  expect("--score ${name}" 0 "${score}" "^$")
  run("${windows_folder}\\${name}")
  expect("${name} alone, as dropped on the program" 0 "${score}" "^$")
endforeach()

# Names beyond the ANSI code page as the user gave them: in a summary, as
# written (backslashes single), in the JSON as their characters, and in the
# message for a missing file.
configure_file(${SAMPLES}/sample.adi "${folder}/Ďábel 日本.adi" COPYONLY)
run(--summary "${windows_folder}\\Ďábel 日本.adi")
string(REPLACE "\\" "\\\\" written "${windows_folder}\\Ďábel 日本.adi")
expect("--summary of a name beyond the code page" 0 "^Summary of ${written}\n" "^$")
run(--summary --json "${windows_folder}\\Ďábel 日本.adi")
expect("--summary --json of it" 0 "\"name\": \"Z:[^\n]*My Logs..\\\\u010e\\\\u00e1bel \\\\u65e5\\\\u672c.adi\"" "^$")
run(--score "${windows_folder}\\Čtvrtek 日本.adi")
expect("a missing file beyond the code page" 2 "^$"
  "^orva-host: cannot open Z:[^\n]*My Logs.Čtvrtek 日本.adi: No such file or directory\n$")
file(REMOVE "${folder}/Ďábel 日本.adi")

set(reference "${windows_folder}\\ORVA λ.txt")
run(--adif "${windows_folder}\\Ärger 2025.adi" --make-reference "${reference}")
# The sample's serial 59001 is no reference of two letters and digits.
expect("--make-reference into the folder" 0 "^$"
  "^orva-host: left out 1 callsign whose exchange ends in no reference [^\n]*\\(59001\\)[^\n]*\n$")
file(GLOB made "${folder}/ORVA*.txt")
file(READ "${made}" bytes HEX)
if(NOT bytes MATCHES "^444c314142433d45552d3030350d0a")  # DL1ABC=EU-005 CR LF
  message(FATAL_ERROR "the reference file is not written as made:\n${bytes}")
endif()
run(--check-reference "${reference}")
expect("--check-reference of it: its note, named by the file" 0
  "^[^\n]*My Logs.ORVA [^\n]*\\.txt:4: note: pre-fills 'AN-016'[^\n]*\n$" "^$")
file(GLOB left RELATIVE "${folder}" "${folder}/*")
list(LENGTH left count)
if(NOT count EQUAL 3)
  message(FATAL_ERROR "the folder holds more than the two logs and the reference file: ${left}")
endif()

run(--help)
set(help "${output}")
expect("--help" 0 "^Scores logs with the contest plug-in's own rules" "^$")
if(help MATCHES "--log" AND NOT help MATCHES "SQLite logs \\(--log\\)[^\n]*\n[^\n]*Linux package")
  message(FATAL_ERROR "the help offers --log:\n${help}")
endif()
if(NOT help MATCHES "\n  --from \"YYYY-MM-DD HH:MM\"\n")
  message(FATAL_ERROR "the help does not write the period's times in double quotes:\n${help}")
endif()
run(/?)
expect("/? prints the help" 0 "^Scores logs" "^$")
if(NOT output STREQUAL help)
  message(FATAL_ERROR "/? and --help differ:\n${output}")
endif()
run()
expect("nothing to do prints the help" 0 "^Scores logs" "^$")

run(${SQLITE_LOG} --score)
expect("an SQLite log" 2 "^$"
  "is an SQLite log, which orva-host.exe cannot read: score it with the orva-host of the Linux package \\(--log\\)\n$")
run(--adif ${SQLITE_LOG} --explain)
expect("an SQLite log given as ADIF" 2 "^$" "looks like an SQLite log, which orva-host.exe cannot read")
run(${SAMPLES}/bad.adi.errors --score)
expect("a file of no kind" 2 "^$"
  "is no log of a kind orva-host.exe reads \\(ADIF, Cabrillo\\); give --adif or --cabrillo\n$")
run(--log ${SQLITE_LOG} --score)
expect("--log" 2 "^$" "^orva-host: [^\n]*\nusage: orva-host \\[\\[--adif \\| --cabrillo\\] FILE\\]")
