#!/usr/bin/env bash
# The installed game: binary, data, launcher, desktop entry and icon, and the launcher
# starting the game in its data folder from anywhere.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

prefix="$WORK/prefix"
cmake --install "$(dirname "$GAME")" --prefix "$prefix" >"$WORK/install.log" 2>&1 ||
    e2e_fail "cmake --install failed: $(tail -n 5 "$WORK/install.log")"
for file in games/meadowgunner share/applications/io.github.meadowgunner.Meadowgunner.desktop \
    share/icons/hicolor/64x64/apps/meadowgunner.png share/meadowgunner/config.ini \
    share/meadowgunner/default.ini share/meadowgunner/themes/meadow/border.bmp; do
    [ -e "$prefix/$file" ] || e2e_fail "not installed: $file"
done
# The installed theme checker passes both installed themes.
for theme in default.ini night.ini; do
    (cd "$prefix/share/meadowgunner" && "$prefix/games/meadowgunner-theme-check" "$theme") ||
        e2e_fail "the installed theme checker finds problems in $theme"
done
grep -q "^Exec=meadowgunner$" "$prefix/share/applications/io.github.meadowgunner.Meadowgunner.desktop" ||
    e2e_fail "desktop entry does not start the launcher"

# From an unrelated folder, the launcher still finds every file: the window opens on the
# splash with no complaint on the error stream, and Escape quits.
e2e_prepare launcher
mkdir -p "$WORK/elsewhere"
(
    cd "$WORK/elsewhere" || exit 1
    HOME="$WORK/home" XDG_DATA_HOME= DISPLAY=$(cat "$WORK/launcher/display") \
        SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$prefix/games/meadowgunner" \
        >"$WORK/launcher/stdout" 2>"$WORK/launcher/stderr" &
    echo $! >"$WORK/launcher/pid"
    wait $!
    echo $? >"$WORK/launcher/status"
) &
sleep 0.5
E2E_PIDS+=("$(cat "$WORK/launcher/pid")")
e2e_wait_window launcher 20 || e2e_fail "the installed game opened no window"
e2e_key launcher Escape 400
[ "$(e2e_wait_exit launcher 10)" = 0 ] || e2e_fail "the installed game did not quit cleanly"
[ ! -s "$WORK/launcher/stderr" ] || e2e_fail "complaints: $(cat "$WORK/launcher/stderr")"
e2e_pass
