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
# Man pages and changelog are installed compressed, as Debian has them; gzip -n leaves out name
# and time, so a rebuild makes the same bytes.
find_program(GZIP gzip REQUIRED)
set(ZELTRAN_COMPRESSED)
foreach(file man/zeltran.1 man/zeltran-setup.1 man/zeltran-pictures.1 changelog)
  set(copy ${CMAKE_BINARY_DIR}/dist/${file})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/dist/${file} ${copy}
    COMMAND ${GZIP} -9nf ${copy}
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/${file} VERBATIM)
  list(APPEND ZELTRAN_COMPRESSED ${copy}.gz)
endforeach()
add_custom_target(zeltran_compressed_docs ALL DEPENDS ${ZELTRAN_COMPRESSED})
add_dependencies(zeltran zeltran_compressed_docs)
list(FILTER ZELTRAN_COMPRESSED INCLUDE REGEX "/man/")
install(FILES ${ZELTRAN_COMPRESSED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz dist/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES dist/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME zeltran)
# The unit names the player where it is installed, which is known only at install time
# (cmake --install --prefix, CPack's /usr). Its mode is set, not taken from the checkout, whose
# umask may have left it group-writable.
install(CODE "
  set(ZELTRAN_INSTALL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  set(unit \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZELTRAN_USER_UNIT_DIR}/zeltran@.service\")
  message(STATUS \"Installing: \${unit}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/dist/zeltran@.service.in\" \"\${unit}\" @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${unit}\")")
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The README links to its pages under docs/.
install(DIRECTORY docs DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeltran)
set(CPACK_PACKAGE_VENDOR "Zeltran")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "motion-driven playback of still-image sequences")
# Lines of the long description stay below 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Zeltran turns a person's body motion, seen by a web camera, into
playback of still-image sequences, for exhibitions that run unattended.
zeltran-setup makes and checks installations; a systemd user unit runs one
with a watchdog.")
# Staged with DESTDIR under the prefix /usr, whatever the build's own prefix, so the install code
# above sees the prefix the package installs into.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(ZELTRAN_MAINTAINER "Zeltran developers <zeltran-dev@zeltran.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZELTRAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The converter is started as a program and the panels' font is opened as a file, so
# dpkg-shlibdeps sees neither.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg, fonts-dejavu-core")
# Cameras named as GStreamer pipelines (gst:...) need GStreamer's elements; on arm64 the
# Raspberry Pi camera module needs libcamera's (libcamerasrc).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE STREQUAL "arm64")
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", gstreamer1.0-libcamera")
endif()
# A cross build (scripts/package arm64) brings the library Depends that dpkg-shlibdeps computed
# inside the target's own root: the host's dpkg knows only the host's libraries.
if(ZELTRAN_DEB_LIBRARY_DEPENDS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZELTRAN_DEB_LIBRARY_DEPENDS}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
endif()
include(CPack)
