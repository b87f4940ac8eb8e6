#!/usr/bin/env bash
# Builds the Debian package as a packager does: a Release build folder, then cpack.
# usage: build_deb.sh SOURCE_DIR BUILD_DIR
set -eu
cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DMEADOW_TESTS=OFF >/dev/null
cmake --build "$2" -j2
cd "$2" && rm -f meadowgunner_*.deb && cpack -G DEB
