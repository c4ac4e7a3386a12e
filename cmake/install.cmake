# Installing like a Linux game: the executable in bin/, the data in share/qvar/, a menu entry,
# icons drawn from the ship, AppStream metainfo and the manual page, under any prefix and
# DESTDIR. The files are made at build time into ${CMAKE_BINARY_DIR}/dist/.
include(GNUInstallDirs)

# Who the game is, for the menu entry, the metainfo, the manual and the package.
set(QVAR_APP_ID "io.github.qvar.qvar" CACHE STRING "Reverse-DNS id of the desktop entry, icon and metainfo")
set(QVAR_HOMEPAGE "https://github.com/qvar/qvar" CACHE STRING "The project's home page")
set(QVAR_SCREENSHOT_URL "${QVAR_HOMEPAGE}/raw/main/docs/screenshot.png" CACHE STRING
    "Where software centres fetch docs/screenshot.png")
set(QVAR_MAINTAINER "QVAR developers <dev@qvar.invalid>" CACHE STRING "Maintainer of the package")
# No licence has been chosen yet, so none is granted (SPDX: LicenseRef-proprietary).
set(QVAR_LICENSE "LicenseRef-proprietary" CACHE STRING "SPDX licence of the game")
set(QVAR_LICENSE_NOTE "No licence has been granted yet: all rights are reserved." CACHE STRING
    "The licence paragraph of the package's copyright file")
set(QVAR_ICON_SIZES 16 32 48 64 128 256)

# --version prints the one version of project(); only this file needs it.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/command_line.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS QVAR_VERSION_STRING="${PROJECT_VERSION}")

string(SUBSTRING "${QVAR_RELEASE_DATE}" 0 4 QVAR_RELEASE_YEAR)
execute_process(COMMAND date -R -u -d "${QVAR_RELEASE_DATE}" OUTPUT_VARIABLE QVAR_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

set(QVAR_DIST ${CMAKE_BINARY_DIR}/dist)
configure_file(${CMAKE_SOURCE_DIR}/dist/qvar.desktop.in ${QVAR_DIST}/${QVAR_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/dist/qvar.metainfo.xml.in ${QVAR_DIST}/${QVAR_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/dist/copyright.in ${QVAR_DIST}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/dist/changelog.in ${QVAR_DIST}/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/docs/qvar.6.in ${QVAR_DIST}/qvar.6 @ONLY)

# The manual and the changelog are installed compressed, as man(1) and Debian expect;
# -n keeps the bytes free of dates.
foreach(doc qvar.6 changelog)
  add_custom_command(OUTPUT ${QVAR_DIST}/${doc}.gz
    COMMAND gzip -9 -n -k -f ${QVAR_DIST}/${doc}
    DEPENDS ${QVAR_DIST}/${doc}
    COMMENT "Compressing ${doc}" VERBATIM)
endforeach()

# The icons: the ship of the compiled qvar.dat, enlarged by whole factors, and an SVG.
add_executable(qvar_icon ${CMAKE_SOURCE_DIR}/tools/icon_main.cpp)
target_link_libraries(qvar_icon PRIVATE qvar_assetlib)
set(QVAR_ICONS "")
foreach(size IN LISTS QVAR_ICON_SIZES)
  set(icon ${QVAR_DIST}/icons/${size}x${size}/${QVAR_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QVAR_DIST}/icons/${size}x${size}
    COMMAND qvar_icon ${CMAKE_BINARY_DIR} ${size} ${icon}
    DEPENDS qvar_icon ${CMAKE_BINARY_DIR}/qvar.dat
    COMMENT "Drawing the ${size}x${size} icon" VERBATIM)
  list(APPEND QVAR_ICONS ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
set(QVAR_SVG_ICON ${QVAR_DIST}/icons/scalable/${QVAR_APP_ID}.svg)
add_custom_command(OUTPUT ${QVAR_SVG_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QVAR_DIST}/icons/scalable
  COMMAND qvar_icon ${CMAKE_BINARY_DIR} svg ${QVAR_SVG_ICON}
  DEPENDS qvar_icon ${CMAKE_BINARY_DIR}/qvar.dat
  COMMENT "Drawing the scalable icon" VERBATIM)
add_custom_target(qvar_dist ALL DEPENDS ${QVAR_ICONS} ${QVAR_SVG_ICON} ${QVAR_DIST}/qvar.6.gz
                  ${QVAR_DIST}/changelog.gz qvar_data)

install(TARGETS qvar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QVAR_DATA_OUTPUTS} DESTINATION ${CMAKE_INSTALL_DATADIR}/qvar)
install(FILES ${QVAR_DIST}/${QVAR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QVAR_DIST}/${QVAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QVAR_SVG_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QVAR_DIST}/qvar.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${QVAR_DIST}/copyright ${QVAR_DIST}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")  # Debian's own tree: the package's lintian notes
  install(FILES ${CMAKE_SOURCE_DIR}/dist/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME qvar)
endif()

# The install test: a DESTDIR install, its tree, the validators, and a headless game played
# by the installed executable from another folder. Wired once tests/ has enabled testing.
function(qvar_add_install_test)
  if(QVAR_TESTS)
    add_test(NAME Install.TreeValidatesAndPlaysFromElsewhere
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_BINARY_DIR} ${QVAR_APP_ID}
                     ${PROJECT_VERSION})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL qvar_add_install_test)
