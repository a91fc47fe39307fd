# Where orva-host finds the plug-in without --plugin: a copy of the host in
# the installed layout (bin/ and the private library folder PRIVATE_LIBDIR)
# loads the plug-in from that folder; a file beside the host comes first,
# even when it is not a plug-in; with neither, the host names both places
# and fails. The copies keep their build RUNPATH, so they share the build's
# platform library.
set(tree ${WORK}/plugin-lookup)
file(REMOVE_RECURSE ${tree})
file(COPY ${HOST} DESTINATION ${tree}/bin)
get_filename_component(host_name ${HOST} NAME)
set(host ${tree}/bin/${host_name})
get_filename_component(plugin_name ${PLUGIN} NAME)

function(expect_run status output_pattern errors_pattern)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${tree}/config ${host} -c info
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE actual)
  if(NOT actual EQUAL status OR NOT output MATCHES "${output_pattern}"
     OR NOT errors MATCHES "${errors_pattern}")
    message(FATAL_ERROR "${ARGN}: exited with ${actual}, not ${status}:\n"
      "--- output\n${output}\n--- messages\n${errors}")
  endif()
endfunction()

expect_run(2 "^$" "^orva-host: no plug-in at ${tree}/bin/${plugin_name} nor at ${tree}/${PRIVATE_LIBDIR}/${plugin_name}; give --plugin PATH\n$"
  "no plug-in anywhere")

file(COPY ${PLUGIN} DESTINATION ${tree}/${PRIVATE_LIBDIR})
expect_run(0 "^name ORVA DX Contest\n" "^$" "the plug-in in the private folder")

file(WRITE ${tree}/bin/${plugin_name} "not a plug-in\n")
expect_run(2 "^$" "^orva-host: cannot load the plug-in: [^\n]*${tree}/bin/${plugin_name}"
  "a file beside the host")
