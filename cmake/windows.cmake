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

add_library(RARIREZazoriz SHARED $<TARGET_OBJECTS:orva_logic>
  ${PROJECT_SOURCE_DIR}/plugin/RARIREZazoriz.def)
target_link_libraries(RARIREZazoriz PRIVATE orva_win32)
set_target_properties(RARIREZazoriz PROPERTIES PREFIX "")
