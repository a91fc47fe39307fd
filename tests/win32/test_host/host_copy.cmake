# Runs a copy of the test host HOST under the file name `name` from `folder`,
# which lies in `root`, with the arguments `mode` and the plug-in PLUGIN under
# Wine (WINE). `root` is made afresh and removed afterwards. The host's output
# and exit status come back in host_output and host_status.
function(run_host_copy root folder name mode)
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${HOST} ${folder}/${name})
  execute_process(COMMAND ${WINE} ${folder}/${name} ${mode} ${PLUGIN}
    OUTPUT_VARIABLE output RESULT_VARIABLE status)
  file(REMOVE_RECURSE ${root})
  set(host_output "${output}" PARENT_SCOPE)
  set(host_status "${status}" PARENT_SCOPE)
endfunction()
