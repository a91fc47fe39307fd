# Runs a copy of the test host from a folder deep enough that its Windows path
# is more than twice as long as MAX_PATH (a buffer sized for one would have to
# grow more than once), under a name of its own, so that it checks what the
# plug-in names after such a host. The plug-in stays where it was built: the
# names must come from the host's executable, not from the plug-in's file.
#
# Wine starts a program at a path of that length only when given it from the
# Unix side, so this script, not a Windows program, makes the copy and runs it.
set(segment "a-folder-with-a-name-long-enough-to-go-deep-quickly")
set(folder ${FOLDER})
# Wine shows the Unix root as drive Z:.
string(LENGTH "Z:${folder}/long_path_host.exe" length)
while(length LESS_EQUAL 600)
  string(APPEND folder "/${segment}")
  string(LENGTH "Z:${folder}/long_path_host.exe" length)
endwhile()
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${folder})
file(COPY_FILE ${HOST} ${folder}/long_path_host.exe)
execute_process(COMMAND ${WINE} ${folder}/long_path_host.exe --naming ${PLUGIN}
  OUTPUT_VARIABLE output RESULT_VARIABLE status)
file(REMOVE_RECURSE ${FOLDER})
message(STATUS "host path of ${length} characters:\n${output}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the host run from a long path failed (${status})")
endif()
