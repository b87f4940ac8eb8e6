#!/usr/bin/env bash
# The package: its control fields, lintian, apt's view of its dependencies, the
# same files as `cmake --install`, the desktop entry starting the launcher, the installed theme
# checker passing both themes, and valid desktop entry, metainfo, man page and icons.
source "$(dirname "$0")/common.sh"

[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
# Package names of Depends, alternatives included, one a line.
dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{print $1}' >"$work/depends"
for lib in libsdl1.2debian libsdl-image1.2 libsdl-mixer1.2 libsdl-net1.2; do
    grep -qx "$lib" "$work/depends" || fail "Depends lacks $lib: $(dpkg-deb -f "$deb" Depends)"
done
lintian "$deb" >"$work/lintian" 2>&1
! grep "^E:" "$work/lintian" || fail "lintian reports errors"
apt-get install --simulate "$deb" >"$work/apt" 2>&1 && grep -q "^Inst meadowgunner " "$work/apt" ||
    fail "apt cannot install the package: $(tail -n 5 "$work/apt")"

cmake --install "$build" --prefix "$work/installed/usr" >/dev/null || fail "cmake --install failed"
diff <(cd "$work/root" && find . | sort) <(cd "$work/installed" && find . | sort) ||
    fail "the package and cmake --install differ"

usr="$work/root/usr"
desktop-file-validate "$usr/share/applications/io.github.meadowgunner.Meadowgunner.desktop" ||
    fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.meadowgunner.Meadowgunner.metainfo.xml" ||
    fail "metainfo"
grep -qx "Exec=meadowgunner" "$usr/share/applications/"*.desktop || fail "Exec is not the launcher"
for theme in default.ini night.ini; do
    (cd "$usr/share/meadowgunner" &&
        SDL_AUDIODRIVER=dummy "$usr/games/meadowgunner-theme-check" "$theme") ||
        fail "the installed theme checker finds problems in $theme"
done
for page in "$usr"/share/man/man6/meadowgunner*.6.gz; do
    warnings=$(zcat "$page" | groff -man -ww -z 2>&1) && [ -z "$warnings" ] ||
        fail "man page $page: $warnings"
done
for size in 64 128 256; do
    /usr/bin/python3 -c 'import sys, struct
print(*struct.unpack(">II", open(sys.argv[1], "rb").read()[16:24]))' \
        "$usr/share/icons/hicolor/${size}x$size/apps/meadowgunner.png" | grep -qx "$size $size" ||
        fail "no $size-pixel icon"
done
exit 0
