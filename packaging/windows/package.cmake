# Windows: the icon and version resources of both programs, and what `cmake --install`
# lays out in one folder that runs as it is (the programs, the SDL DLLs, the data tree,
# README.txt and the licences). tools/windows/package installs it, zips that folder and
# wraps it in the installer (installer.nsi). The game reads everything from its working
# folder, and Explorer starts a program in the program's own folder, so the data lies
# beside the programs.

enable_language(RC)
set(MEADOW_WINDOWS_PACKAGING ${CMAKE_SOURCE_DIR}/packaging/windows)

# The icon: the theme generator's three PNG icons, packed by our own script.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(MEADOW_ICON ${CMAKE_BINARY_DIR}/meadowgunner.ico)
set(MEADOW_ICON_PICTURES ${CMAKE_SOURCE_DIR}/data/meadowgunner.png
    ${CMAKE_SOURCE_DIR}/data/meadowgunner-128.png ${CMAKE_SOURCE_DIR}/data/meadowgunner-256.png)
add_custom_command(OUTPUT ${MEADOW_ICON}
    COMMAND Python3::Interpreter ${MEADOW_WINDOWS_PACKAGING}/make_icon.py ${MEADOW_ICON}
            ${MEADOW_ICON_PICTURES}
    DEPENDS ${MEADOW_WINDOWS_PACKAGING}/make_icon.py ${MEADOW_ICON_PICTURES}
    COMMENT "Packing the icon")

# Windows versions have four numbers: 1.0 is 1,0,0,0.
set(MEADOW_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
set(MEADOW_RC_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
function(meadow_windows_resources target description)
    set(MEADOW_RC_NAME ${target})
    set(MEADOW_RC_DESCRIPTION ${description})
    set(rc ${CMAKE_BINARY_DIR}/${target}.rc)
    configure_file(${MEADOW_WINDOWS_PACKAGING}/meadowgunner.rc.in ${rc} @ONLY)
    # windres reads the icon while it compiles the .rc; CMake does not see that.
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${MEADOW_ICON})
    target_sources(${target} PRIVATE ${rc} ${MEADOW_ICON})
endfunction()
meadow_windows_resources(meadowgunner "Meadowgunner, a two-player meadow artillery game")
meadow_windows_resources(meadowgunner-theme-check "Meadowgunner theme checker")

# Text files for Notepad and friends: CR LF line ends, whatever the source has. The copy
# is renewed whenever CMake runs, and CMake runs again when the source changes.
function(meadow_crlf_copy source destination)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${destination} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

set(MEADOW_WINDOWS_TEXTS ${CMAKE_BINARY_DIR}/windows-texts)
file(READ ${MEADOW_WINDOWS_PACKAGING}/README.txt readme)
string(CONFIGURE "${readme}" readme @ONLY)
file(WRITE ${MEADOW_WINDOWS_TEXTS}/README.lf "${readme}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MEADOW_WINDOWS_PACKAGING}/README.txt)
meadow_crlf_copy(${MEADOW_WINDOWS_TEXTS}/README.lf ${MEADOW_WINDOWS_TEXTS}/README.txt)

# The licences: the game's own (GPL 3, whose text every Debian system has, and our
# copyright file, which also names the fonts the lettering was drawn with) and those of
# the libraries build-deps took from their source packages.
meadow_crlf_copy(/usr/share/common-licenses/GPL-3 ${MEADOW_WINDOWS_TEXTS}/licenses/Meadowgunner/COPYING.txt)
meadow_crlf_copy(${CMAKE_SOURCE_DIR}/packaging/debian/copyright
                 ${MEADOW_WINDOWS_TEXTS}/licenses/Meadowgunner/copyright.txt)
file(GLOB_RECURSE MEADOW_LIBRARY_LICENCES RELATIVE ${MEADOW_WINDOWS_PREFIX}/share/licenses
     ${MEADOW_WINDOWS_PREFIX}/share/licenses/*)
if(NOT MEADOW_LIBRARY_LICENCES)
    message(FATAL_ERROR "${MEADOW_WINDOWS_PREFIX}/share/licenses holds no licence: run tools/windows/build-deps")
endif()
foreach(licence ${MEADOW_LIBRARY_LICENCES})
    meadow_crlf_copy(${MEADOW_WINDOWS_PREFIX}/share/licenses/${licence}
                     ${MEADOW_WINDOWS_TEXTS}/licenses/${licence})
endforeach()

# One folder, no subfolders for the programs: `cmake --install build --prefix DIR`.
install(TARGETS meadowgunner meadowgunner-theme-check RUNTIME DESTINATION .)
install(PROGRAMS ${MEADOW_WINDOWS_PREFIX}/bin/SDL.dll ${MEADOW_WINDOWS_PREFIX}/bin/SDL_mixer.dll
        ${MEADOW_WINDOWS_PREFIX}/bin/SDL_net.dll DESTINATION .)
# Not what SDL writes where a game has run: sdlaudio.raw, stdout.txt, stderr.txt.
install(DIRECTORY data/ DESTINATION .
        PATTERN "sdlaudio.raw" EXCLUDE PATTERN "stdout.txt" EXCLUDE PATTERN "stderr.txt" EXCLUDE)
install(FILES ${MEADOW_WINDOWS_TEXTS}/README.txt DESTINATION .)
install(DIRECTORY ${MEADOW_WINDOWS_TEXTS}/licenses DESTINATION .)
