#!/usr/bin/env bash
# Start-up in a real window: title, size, splash, start-up sound, and the messages and
# exit statuses of broken installations.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"


# A normal start: the window, the splash and the explosion sound.
e2e_prepare ok
e2e_start ok
window=$(e2e_window ok)
title=$(DISPLAY=$(cat "$WORK/ok/display") xdotool getwindowname "$window")
[ "$title" = "Meadowgunner v. 1.0" ] || e2e_fail "window title is '$title'"
geometry=$(DISPLAY=$(cat "$WORK/ok/display") xdotool getwindowgeometry "$window" | grep Geometry)
echo "$geometry" | grep -q "800x600" || e2e_fail "window geometry: $geometry"
e2e_shot ok "$WORK/splash.png"
splash=$(e2e_theme_path ok splashscreen)
[ -f "$splash" ] || e2e_fail "no splash picture at $splash"
/usr/bin/convert "$splash" -gravity center -background black -extent 800x600 "$WORK/expected_splash.png"
different=$(e2e_diff "$WORK/splash.png" "$WORK/expected_splash.png")
[ "$different" -lt 2000 ] || e2e_fail "the screen does not show the splash ($different pixels differ)"
sleep 1.5
loud=$(e2e_audio_loud ok)
[ "$loud" -gt 100 ] || e2e_fail "no explosion sound at start ($loud loud samples)"
# Escape ends the splash and, still held at the first menu pass, leaves the menu.
e2e_key ok Escape 400
status=$(e2e_wait_exit ok 10)
[ "$status" = 0 ] || e2e_fail "Escape did not quit with status 0 (status $status)"

# Without config.ini every value takes its default and default.ini is the theme.
e2e_prepare noconfig
rm "$WORK/noconfig/config.ini"
e2e_start noconfig
grep -q "^config.ini could not be opendtheme file could not be opened! try to open default.ini$" \
    "$(e2e_stderr noconfig)" || e2e_fail "missing config.ini: $(cat "$(e2e_stderr noconfig)")"
grep -q "^language file could not be opened!$" "$(e2e_stderr noconfig)" ||
    e2e_fail "missing language file not reported"
e2e_key noconfig Escape 400
[ "$(e2e_wait_exit noconfig 10)" = 0 ] || e2e_fail "no clean exit without config.ini"

# A chosen theme file that is missing falls back to default.ini.
e2e_prepare fallback
sed -i 's/^theme0=.*/theme0=nothere.ini/' "$WORK/fallback/config.ini"
e2e_start fallback
grep -qx "theme file could not be opened! try to open default.ini" "$(e2e_stderr fallback)" ||
    e2e_fail "missing theme file not reported"
e2e_key fallback Escape 400
[ "$(e2e_wait_exit fallback 10)" = 0 ] || e2e_fail "no clean exit on the fallback theme"

# Neither the chosen theme file nor default.ini: status 1 before any window.
e2e_prepare notheme
sed -i 's/^theme0=.*/theme0=nothere.ini/' "$WORK/notheme/config.ini"
rm "$WORK/notheme/default.ini"
e2e_start_no_wait notheme
[ "$(e2e_wait_exit notheme 15)" = 1 ] || e2e_fail "no theme at all must end with status 1"
printf 'theme file could not be opened! try to open default.ini\ndefault.ini couldn'"'"'t be opened.\n' |
    cmp -s - <(e2e_game_stderr notheme) || e2e_fail "no theme: $(cat "$(e2e_stderr notheme)")"

# A missing picture ends the program with status 1 and names the path.
e2e_prepare nopicture
sed -i 's/^winner=.*/winner=gone.png/' "$WORK/nopicture/default.ini"
e2e_start_no_wait nopicture
[ "$(e2e_wait_exit nopicture 15)" = 1 ] || e2e_fail "a missing picture must end with status 1"
grep -q "^Couldn't load $(e2e_theme_value nopicture themepath)gone.png: " "$(e2e_stderr nopicture)" ||
    e2e_fail "missing picture: $(cat "$(e2e_stderr nopicture)")"

# SDL that cannot start: the message goes to standard output, the status is -1.
e2e_prepare nosdl
(cd "$WORK/nosdl" && SDL_VIDEODRIVER=nosuchdriver SDL_AUDIODRIVER=nosuchdriver "$GAME" \
    >"$WORK/nosdl/stdout" 2>"$WORK/nosdl/stderr")
status=$?
[ "$status" = 255 ] || e2e_fail "SDL start failure gave status $status"
grep -q "^Could not initialize SDL: .*\.$" "$WORK/nosdl/stdout" || e2e_fail "no SDL start message"

# A mixer that cannot open: one warning, and the game still comes up.
e2e_prepare nomixer
E2E_EXTRA_ENV="SDL_DISKAUDIOFILE=/nonexistent/dir/audio.raw" e2e_start_no_wait nomixer
e2e_wait_window nomixer 15 || e2e_fail "no window without a mixer"
grep -q "^Warning: Couldn't set 11025 Hz 8-bit audio$" "$(e2e_stderr nomixer)" ||
    e2e_fail "no mixer warning"
grep -q "^- Reason: " "$(e2e_stderr nomixer)" || e2e_fail "no mixer reason"
e2e_key nomixer Escape 400
[ "$(e2e_wait_exit nomixer 10)" = 0 ] || e2e_fail "no clean exit without a mixer"

e2e_pass
