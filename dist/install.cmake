# Installation (cmake --install) and the Debian package (CPack, scripts/package).
include(GNUInstallDirs)

# Below the prefix, so that an installation into /usr/local or a staging folder stays inside it;
# systemd's user manager looks in both /usr/lib/systemd/user and /usr/local/lib/systemd/user.
set(ZELTRAN_USER_UNIT_DIR lib/systemd/user CACHE STRING "systemd user unit folder below the prefix")

install(TARGETS zeltran zeltran-setup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS $<TARGET_FILE:zeltran_pictures> DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME zeltran-pictures)
# Installed as a program under its new name, so the stripping of targets passes it by.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zeltran-pictures\")
  endif()")
install(FILES dist/man/zeltran.1 dist/man/zeltran-setup.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The unit names the player where it is installed, which is known only at install time
# (cmake --install --prefix, CPack's /usr).
install(CODE "
  set(ZELTRAN_INSTALL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  set(unit \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZELTRAN_USER_UNIT_DIR}/zeltran@.service\")
  message(STATUS \"Installing: \${unit}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/dist/zeltran@.service.in\" \"\${unit}\" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${unit}\")")
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeltran)
set(CPACK_PACKAGE_VENDOR "Zeltran")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "motion-driven playback of still-image sequences")
set(CPACK_PACKAGE_DESCRIPTION "Zeltran turns a person's body motion, seen by a web camera, into \
playback of still-image sequences, for exhibitions that run unattended. zeltran-setup makes and \
checks installations; a systemd user unit runs one with a watchdog.")
# Staged with DESTDIR under the prefix /usr, whatever the build's own prefix, so the install code
# above sees the prefix the package installs into.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zeltran developers <zeltran@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The converter is started as a program and the panels' font is opened as a file, so
# dpkg-shlibdeps sees neither.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg, fonts-dejavu-core")
# A cross build (scripts/package arm64) brings the library Depends that dpkg-shlibdeps computed
# inside the target's own root: the host's dpkg knows only the host's libraries.
if(ZELTRAN_DEB_LIBRARY_DEPENDS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZELTRAN_DEB_LIBRARY_DEPENDS}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
endif()
include(CPack)
