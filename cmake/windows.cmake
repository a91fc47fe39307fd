# Windows build: a self-contained 32-bit DLL. The C++ runtime is linked
# statically so that the host needs no runtime DLLs beside the plug-in.
file(GLOB ORVA_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/win32/*.cpp)
add_library(orva_win32 STATIC ${ORVA_PLATFORM_SOURCES})
target_include_directories(orva_win32 PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(orva_win32 PRIVATE ${ORVA_WARNINGS})
target_compile_definitions(orva_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(orva_win32 PUBLIC ole32 oleaut32 uuid user32 gdi32 advapi32 comctl32)

set(ORVA_PLATFORM_LIBRARY orva_win32)
add_link_options(-static-libgcc -static-libstdc++ -static)

# The version the file's properties show comes from project(VERSION), the one
# place it is written; the resource takes four numbers, the project may give
# three.
enable_language(RC)
string(REPLACE "." ";" version_numbers "${PROJECT_VERSION}.0.0.0")
list(SUBLIST version_numbers 0 4 version_numbers)
list(JOIN version_numbers "," ORVA_VERSION_COMMAS)
configure_file(${PROJECT_SOURCE_DIR}/plugin/RARIREZazoriz.rc.in ${CMAKE_BINARY_DIR}/RARIREZazoriz.rc @ONLY)

add_library(RARIREZazoriz SHARED
  ${PROJECT_SOURCE_DIR}/plugin/RARIREZazoriz.def ${CMAKE_BINARY_DIR}/RARIREZazoriz.rc)
target_link_libraries(RARIREZazoriz PRIVATE orva_plugin orva_scoring orva_win32)
set_target_properties(RARIREZazoriz PROPERTIES PREFIX "")
include(${PROJECT_SOURCE_DIR}/cmake/debug-symbols.cmake)
orva_split_debug_symbols(RARIREZazoriz)
