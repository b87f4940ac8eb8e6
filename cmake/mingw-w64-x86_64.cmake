# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-win32):
#   cmake -S . -B build/windows/game -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DMEADOW_WINDOWS_PREFIX="$(tools/windows/build-deps | tail -n 1)"
# The libraries come from the prefix tools/windows/build-deps fills; nothing of the
# build machine's own is ever found.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MEADOW_WINDOWS_HOST x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${MEADOW_WINDOWS_HOST}-gcc)
set(CMAKE_CXX_COMPILER ${MEADOW_WINDOWS_HOST}-g++)
set(CMAKE_RC_COMPILER ${MEADOW_WINDOWS_HOST}-windres)
set(CMAKE_AR ${MEADOW_WINDOWS_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${MEADOW_WINDOWS_HOST}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${MEADOW_WINDOWS_HOST}-strip CACHE FILEPATH "")
# Lets try_compile runs see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MEADOW_WINDOWS_PREFIX)

if(NOT MEADOW_WINDOWS_PREFIX AND DEFINED ENV{MEADOW_WINDOWS_PREFIX})
    set(MEADOW_WINDOWS_PREFIX $ENV{MEADOW_WINDOWS_PREFIX})
endif()
if(NOT MEADOW_WINDOWS_PREFIX OR NOT EXISTS "${MEADOW_WINDOWS_PREFIX}/lib/pkgconfig/sdl.pc")
    message(FATAL_ERROR "MEADOW_WINDOWS_PREFIX must name the prefix that tools/windows/build-deps "
                        "fills (its last line of output); it is '${MEADOW_WINDOWS_PREFIX}'")
endif()
set(MEADOW_WINDOWS_PREFIX "${MEADOW_WINDOWS_PREFIX}" CACHE PATH "The prefix tools/windows/build-deps filled")

# Headers and libraries from the MinGW-w64 sysroot and the prefix only; programs (the
# compilers, pkg-config) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MEADOW_WINDOWS_HOST} ${MEADOW_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads the prefix's .pc files and none of the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} ${MEADOW_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
# sdl.pc names <prefix>/include/SDL; the game includes <SDL/SDL.h>.
set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${MEADOW_WINDOWS_PREFIX}/include)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${MEADOW_WINDOWS_PREFIX}/include)
