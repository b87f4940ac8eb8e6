# shellcheck shell=bash
# Shared by the package tests: a scratch folder that goes away, a failure that says
# why, and the package of the build folder given as $1, unpacked into $work/root.
set -uo pipefail
build=$(readlink -f "$1")
work=$(mktemp -d /tmp/meadow-package-XXXXXX)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
deb=$(echo "$build"/meadowgunner_*.deb)
dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack $deb"
