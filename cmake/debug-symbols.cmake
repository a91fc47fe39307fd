# What the operator gets is stripped: the DLL shrinks to less than half, and
# its symbols say nothing to a user. They are kept beside it in the build
# tree, in <file>.debug, which the stripped file names in its debug link, so
# that gdb (or addr2line -e <file>.debug) can still turn a crash address from
# a user's report into a function and line of this build.
#
# The tests run the stripped file, so the file they check is the one shipped.
function(orva_split_debug_symbols target)
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "no objcopy for ${CMAKE_CXX_COMPILER}: cannot strip ${target}")
  endif()
  set(file $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${file}.debug ${file}
    VERBATIM)
endfunction()
