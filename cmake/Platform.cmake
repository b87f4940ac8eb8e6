# The target's files from src/platform and the libraries the game links on it, as
# MEADOW_PLATFORM (linux, windows or web), MEADOW_PACKAGING, MEADOW_PLATFORM_SOURCES and the interface
# target meadow_platform_libs.
#   linux:   SDL 1.2 (or sdl12-compat), SDL_image, SDL_mixer and SDL_net from pkg-config.
#   windows: the same from the prefix that tools/windows/build-deps fills (the toolchain
#            file points pkg-config there); our own picture reader stands in for SDL_image.
#   web:     emscripten's SDL 1.2 and mixer, our picture reader and the libraries that
#            tools/web/build-deps compiles (MEADOW_WEB_PREFIX).
set(MEADOW_PLATFORM_DIR ${CMAKE_SOURCE_DIR}/src/platform)
add_library(meadow_platform_libs INTERFACE)
# Our picture reader: the decoding (libpng) and the SDL 1.2 surface it makes. The Linux
# game keeps SDL_image; the unit tests compare the two.
set(MEADOW_PICTURE_READER_SOURCES ${MEADOW_PLATFORM_DIR}/picture_reader.cpp
    ${MEADOW_PLATFORM_DIR}/picture_bmp.cpp ${MEADOW_PLATFORM_DIR}/picture_png.cpp)
set(MEADOW_PICTURE_SURFACE_SOURCES ${MEADOW_PLATFORM_DIR}/picture_surface.cpp)

# MEADOW_PACKAGING names the folder under packaging/ that installs and packs the game.
if(EMSCRIPTEN)
    set(MEADOW_PLATFORM web)
    set(MEADOW_PACKAGING web)
elseif(WIN32)
    set(MEADOW_PLATFORM windows)
    set(MEADOW_PACKAGING windows)
else()
    set(MEADOW_PLATFORM linux)
    set(MEADOW_PACKAGING debian)
endif()

if(MEADOW_PLATFORM STREQUAL "web")
    set(MEADOW_WEB_PREFIX "" CACHE PATH "The prefix tools/web/build-deps filled")
    file(GLOB MEADOW_PLATFORM_SOURCES CONFIGURE_DEPENDS ${MEADOW_PLATFORM_DIR}/web*.cpp)
    list(APPEND MEADOW_PLATFORM_SOURCES ${MEADOW_PICTURE_READER_SOURCES})
    target_compile_options(meadow_platform_libs INTERFACE -sUSE_SDL=1)
    target_include_directories(meadow_platform_libs INTERFACE ${MEADOW_WEB_PREFIX}/include)
    target_link_libraries(meadow_platform_libs INTERFACE
        ${MEADOW_WEB_PREFIX}/lib/libSDL_net.a ${MEADOW_WEB_PREFIX}/lib/libpng16.a
        ${MEADOW_WEB_PREFIX}/lib/libz.a)
    # The game's loops never return to the browser: ASYNCIFY lets every wait hand the
    # page its turn. The page (packaging/web) starts main itself once the player clicks,
    # after writing the game's files, and learns the exit status.
    target_link_options(meadow_platform_libs INTERFACE -sUSE_SDL=1 -sASYNCIFY
        "SHELL:-sASYNCIFY_IMPORTS=['meadow_yield_to_page']"
        "SHELL:--js-library ${MEADOW_PLATFORM_DIR}/web_library.js"
        -sEXIT_RUNTIME=1 -sINVOKE_RUN=0 -sFORCE_FILESYSTEM=1 -sALLOW_MEMORY_GROWTH=1
        "SHELL:-sEXPORTED_RUNTIME_METHODS=['callMain','FS']" -sENVIRONMENT=web)
    return()
endif()

find_package(PkgConfig REQUIRED)
set(MEADOW_PLATFORM_SOURCES ${MEADOW_PLATFORM_DIR}/desktop_sdl.cpp
    ${MEADOW_PLATFORM_DIR}/${MEADOW_PLATFORM}.cpp)
if(MEADOW_PLATFORM STREQUAL "windows")
    pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl SDL_mixer SDL_net libpng)
    list(APPEND MEADOW_PLATFORM_SOURCES ${MEADOW_PICTURE_READER_SOURCES}
         ${MEADOW_PICTURE_SURFACE_SOURCES})
    # Only the SDL libraries travel beside the game, not the compiler's own.
    target_link_options(meadow_platform_libs INTERFACE -static-libgcc -static-libstdc++)
else()
    pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl SDL_image SDL_mixer SDL_net)
endif()
target_link_libraries(meadow_platform_libs INTERFACE PkgConfig::SDL)
