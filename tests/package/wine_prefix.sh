# shellcheck shell=bash
# Shared by the Windows package tests: a Wine prefix of the test's own in $1, linked file by
# file to the caller's WINEPREFIX when there is one (with copies of the registry files,
# which Wine rewrites), else made afresh; WINEPREFIX then names it.
own_wine_prefix() {
    local own=$1 registry
    if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
        cp -al "$WINEPREFIX" "$own"
        for registry in "$own"/*.reg; do
            cp --remove-destination "$WINEPREFIX/$(basename "$registry")" "$registry"
        done
    fi
    export WINEPREFIX=$own
}

# The test's prefix goes with everything still running in it, before its folder does.
finish_also() {
    wineserver -k 2>/dev/null
}
