# The Debian package of the native build, orva-host_<version>_<arch>.deb
# (`cmake --build --preset native --target package`): orva-host on the PATH
# with its manual page, the plug-in and platform library in their private
# folder, the sample log and example reference file, the user guide, and the
# copyright and changelog files Debian wants. Included from host/, beside the targets it
# installs, after the rules that install the host, plug-in and samples.
include(GNUInstallDirs)

set(ORVA_PACKAGE orva-host)
set(ORVA_MAINTAINER "ORVA maintainers <maintainers@orva.invalid>")
set(ORVA_PACKAGE_PREFIX /usr)
set(ORVA_DEB_SOURCES ${PROJECT_SOURCE_DIR}/cmake/deb)
set(ORVA_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ORVA_PACKAGE})

# The manual page, made from --help and the sections help2man cannot read
# from it; compressed without a time stamp so that builds are reproducible.
# Only the package needs it, so without help2man the build goes on without
# the page and making the package stops at once, naming what to install
# (deb/package-tools.cmake).
find_program(ORVA_HELP2MAN help2man)
set(ORVA_PLUGIN_PATH ${ORVA_PACKAGE_PREFIX}/${ORVA_INSTALL_PRIVATE_LIBDIR}/RARIREZazoriz.so)
set(ORVA_DATA_PATH ${ORVA_PACKAGE_PREFIX}/${ORVA_INSTALL_DATADIR})
set(ORVA_BIN_PATH ${ORVA_PACKAGE_PREFIX}/${ORVA_INSTALL_BINDIR})
set(ORVA_DOC_PATH ${ORVA_PACKAGE_PREFIX}/${ORVA_INSTALL_DOCDIR})
set(ORVA_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/orva-host.1)
set(ORVA_PACKAGE_FILES)
if(ORVA_HELP2MAN)
  configure_file(${ORVA_DEB_SOURCES}/orva-host.h2m.in ${CMAKE_CURRENT_BINARY_DIR}/orva-host.h2m @ONLY)
  add_custom_command(OUTPUT ${ORVA_MAN_PAGE}.gz
    COMMAND ${ORVA_HELP2MAN} --no-info --section 1 --include ${CMAKE_CURRENT_BINARY_DIR}/orva-host.h2m
      --output ${ORVA_MAN_PAGE} $<TARGET_FILE:orva-host>
    COMMAND gzip -n -9 -f ${ORVA_MAN_PAGE}
    DEPENDS orva-host ${CMAKE_CURRENT_BINARY_DIR}/orva-host.h2m VERBATIM)
  list(APPEND ORVA_PACKAGE_FILES ${ORVA_MAN_PAGE}.gz)
  install(FILES ${ORVA_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man is missing: no manual page, and no Debian package "
    "(scripts/install-deps installs it)")
endif()

# A native package's changelog.gz is in Debian's format; it is made from the
# project's changelog, which is the one place its releases are written.
set(ORVA_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog)
add_custom_command(OUTPUT ${ORVA_CHANGELOG}.gz
  COMMAND ${ORVA_DEB_SOURCES}/debian-changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${ORVA_PACKAGE}
    ${ORVA_MAINTAINER} ${ORVA_CHANGELOG}
  COMMAND gzip -n -9 -f ${ORVA_CHANGELOG}
  DEPENDS ${ORVA_DEB_SOURCES}/debian-changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md VERBATIM)
# The user guide as written: it reads as plain text, and the manual page
# points to it.
set(ORVA_USER_GUIDE ${CMAKE_CURRENT_BINARY_DIR}/USER-GUIDE.md)
add_custom_command(OUTPUT ${ORVA_USER_GUIDE}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/USER-GUIDE.md ${ORVA_USER_GUIDE}
  COMMAND gzip -n -9 -f ${ORVA_USER_GUIDE}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/USER-GUIDE.md VERBATIM)
add_custom_target(orva_package_files ALL
  DEPENDS ${ORVA_PACKAGE_FILES} ${ORVA_CHANGELOG}.gz ${ORVA_USER_GUIDE}.gz)

install(FILES ${ORVA_DEB_SOURCES}/copyright ${ORVA_CHANGELOG}.gz ${ORVA_USER_GUIDE}.gz
  DESTINATION ${ORVA_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ORVA_PACKAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX ${ORVA_PACKAGE_PREFIX})
set(CPACK_PACKAGE_CONTACT ${ORVA_MAINTAINER})
set(CPACK_STRIP_FILES ON)
# Folders the install rules do not name (usr/share/man, ...) as Debian has them.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "score amateur-radio contest logs with the ORVA DX Contest plug-in
orva-host loads the ORVA DX Contest scoring plug-in the way a logging
program does and scores logs with it: an SQLite log, or the ADIF or
Cabrillo file of any logging program. It prints the plug-in's report and
claimed score, explains a score QSO by QSO, and makes and checks the
reference file from which the plug-in pre-fills exchanges.

The package holds the native plug-in and its platform library, a sample
log and an example reference file.")
# Read by cpack before it installs anything: the tools the package is made
# with are looked for there, when the package is made, not when configuring.
# (CPack hands every CPACK_ variable on to cpack.)
set(CPACK_ORVA_HELP2MAN ${ORVA_HELP2MAN})
set(CPACK_PROJECT_CONFIG_FILE ${ORVA_DEB_SOURCES}/package-tools.cmake)
include(CPack)
