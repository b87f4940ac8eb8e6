# shellcheck shell=bash
# Shared by the Debian package's tests: the package of the build folder given as $1,
# unpacked into $work/root.
build=$(readlink -f "$1")
source "$(dirname "$0")/scratch.sh" package
deb=$(echo "$build"/meadowgunner_*.deb)
dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack $deb"
