# shellcheck shell=bash
# Shared by the package tests: a scratch folder $work that goes away with the processes
# listed in $pids (and whatever a finish_also function of the caller's ends), and a failure
# that says why.
#   source scratch.sh NAME
set -uo pipefail
work=$(mktemp -d "/tmp/meadow-$1-XXXXXX")
pids=()
finish() {
    kill "${pids[@]}" 2>/dev/null
    if declare -F finish_also >/dev/null; then
        finish_also
    fi
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
