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
include(${CMAKE_CURRENT_LIST_DIR}/host_copy.cmake)
run_host_copy(${FOLDER} ${folder} long_path_host.exe --naming)
message(STATUS "host path of ${length} characters:\n${host_output}")
if(NOT host_status EQUAL 0)
  message(FATAL_ERROR "the host run from a long path failed (${host_status})")
endif()
