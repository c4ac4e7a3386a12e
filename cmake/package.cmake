# The Debian package: cpack -G DEB in a build configured with CMAKE_INSTALL_PREFIX=/usr
# (scripts/package-deb.sh does both). dpkg-shlibdeps works out the library dependencies.
set(CPACK_PACKAGE_NAME qvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QVAR developers")
set(CPACK_PACKAGE_CONTACT "${QVAR_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "space shooter with endless levels on a wrap-round field")
# CPack indents each line of the long description as the control file wants it.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A single-player 2-D space shooter on a 320x200 play-field whose edges wrap"
  "round. The ship turns, thrusts and fires at thirteen kinds of foes through"
  "levels numbered without end; destroyed foes leave pick-ups with extra weapons"
  "and upgrades. It runs in a window or full screen with crisp whole-number"
  "scaling, driven by the keyboard in play and the mouse in the menus.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QVAR_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
