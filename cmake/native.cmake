# Native build: the platform layer is a shared library of its own, because a
# host links it as well. Host and plug-in then share one table of open log
# connections, one headless message queue and one headless screen.
# Host, plug-in and platform library sit side by side in bin/, as a host
# installation would have them, and find each other there.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_BUILD_RPATH ${CMAKE_BINARY_DIR}/bin)

# Installed, the host goes on the PATH and the plug-in with the platform
# library into a private folder: only the host loads them, so they need no
# shared-library registration (no shlibs, no ldconfig). The folder is the
# architecture's own library folder where the system has one, as Debian has
# private libraries, and the host finds it at a fixed place relative to itself.
set(ORVA_INSTALL_BINDIR bin)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(ORVA_INSTALL_PRIVATE_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/orva)
else()
  set(ORVA_INSTALL_PRIVATE_LIBDIR lib/orva)
endif()
set(ORVA_INSTALL_DATADIR share/orva)

find_package(SQLite3 REQUIRED)
find_package(Threads REQUIRED)

file(GLOB ORVA_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/native/*.cpp)
add_library(orva_native SHARED ${ORVA_PLATFORM_SOURCES})
target_include_directories(orva_native PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(orva_native PRIVATE ${ORVA_WARNINGS})
target_link_libraries(orva_native PUBLIC SQLite::SQLite3)

set(ORVA_PLATFORM_LIBRARY orva_native)

# The plug-in itself, named as the host knows it.
add_library(RARIREZazoriz MODULE)
target_link_libraries(RARIREZazoriz PRIVATE orva_plugin orva_scoring orva_native)
set_target_properties(RARIREZazoriz PROPERTIES PREFIX "")
set_target_properties(orva_native RARIREZazoriz PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS orva_native RARIREZazoriz LIBRARY DESTINATION ${ORVA_INSTALL_PRIVATE_LIBDIR})
