# Linux: what `cmake --install` installs (the game under libexec, its data, the launcher
# and the theme checker as commands), desktop integration (menu entry, software-centre
# metadata, icons, manual pages, copyright and changelog) and the Debian package:
# `cpack -G DEB` in a Release build folder packs whatever `cmake --install` installs into
# meadowgunner_<version>_<arch>.deb, installing under /usr.

include(GNUInstallDirs)
set(MEADOW_DATADIR ${CMAKE_INSTALL_DATADIR}/meadowgunner)
set(MEADOW_LIBEXECDIR ${CMAKE_INSTALL_LIBEXECDIR}/meadowgunner)
install(TARGETS meadowgunner RUNTIME DESTINATION ${MEADOW_LIBEXECDIR})
# The icons go to the icon theme folders (below), not to the data.
install(DIRECTORY data/ DESTINATION ${MEADOW_DATADIR}
        PATTERN "sdlaudio.raw" EXCLUDE PATTERN "meadowgunner*.png" EXCLUDE)
configure_file(packaging/debian/meadowgunner.in ${CMAKE_BINARY_DIR}/meadowgunner-launcher @ONLY)
# The command goes where Debian keeps games (<prefix>/games, on every user's PATH there);
# the launcher finds the prefix one folder up from itself.
set(MEADOW_GAMESDIR games CACHE STRING "Folder, one level below the prefix, for the meadowgunner command")
install(PROGRAMS ${CMAKE_BINARY_DIR}/meadowgunner-launcher
        DESTINATION ${MEADOW_GAMESDIR} RENAME meadowgunner)
# The theme checker sits beside the command, for theme makers.
install(TARGETS meadowgunner-theme-check RUNTIME DESTINATION ${MEADOW_GAMESDIR})

set(MEADOW_APP_ID io.github.meadowgunner.Meadowgunner)
set(MEADOW_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/meadowgunner)

install(FILES packaging/debian/${MEADOW_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/debian/${MEADOW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 64 128 256)
    # The theme generator writes the 64-pixel icon without a size in its name.
    if(size EQUAL 64)
        set(icon data/meadowgunner.png)
    else()
        set(icon data/meadowgunner-${size}.png)
    endif()
    install(FILES ${icon} RENAME meadowgunner.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual page and changelog go in gzipped, without a time stamp (-n), so that the
# package is the same from one build to the next.
find_program(MEADOW_GZIP gzip REQUIRED)
set(MEADOW_MANPAGES ${CMAKE_BINARY_DIR}/meadowgunner.6.gz
    ${CMAKE_BINARY_DIR}/meadowgunner-theme-check.6.gz)
set(MEADOW_GZIPPED ${MEADOW_MANPAGES} ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${MEADOW_GZIPPED}
    COMMAND ${MEADOW_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/docs/meadowgunner.6 > meadowgunner.6.gz
    COMMAND ${MEADOW_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/docs/meadowgunner-theme-check.6
            > meadowgunner-theme-check.6.gz
    COMMAND ${MEADOW_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/debian/changelog > changelog.gz
    DEPENDS docs/meadowgunner.6 docs/meadowgunner-theme-check.6 packaging/debian/changelog
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    VERBATIM)
add_custom_target(meadow_gzipped_docs ALL DEPENDS ${MEADOW_GZIPPED})
install(FILES ${MEADOW_MANPAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz packaging/debian/copyright DESTINATION ${MEADOW_DOCDIR})
install(FILES packaging/debian/lintian-overrides RENAME meadowgunner
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME meadowgunner)
set(CPACK_PACKAGE_VENDOR "Meadowgunner team")
set(CPACK_PACKAGE_CONTACT "Meadowgunner team <meadowgunner@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player arcade game with cannons and sheep")
set(CPACK_PACKAGE_DESCRIPTION
    "Two shepherds own the two long edges of a meadow. Each has a cannon, a movable
shield and a herd of sheep that wanders along its own edge. The cannons fire
straight across the field: a shot that meets the enemy cannon or shield
explodes, a shot that reaches an enemy sheep ends its grazing for good. The
last herd standing wins.

Play against the computer, watch the computer play itself, or play a friend
on another machine over the network. Menus are in English and German; new
themes of pictures and sounds drop in beside the shipped one.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://meadowgunner.github.io/)
# Depends is computed from the binaries (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
