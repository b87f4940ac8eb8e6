#!/usr/bin/env bash
# The game from the unpacked package in Xvfb, started by its command with a fresh HOME:
# the first start makes the user's folder, a second start keeps the user's edits and
# renews stale links, and a theme the user drops in is found and shown.
source "$(dirname "$0")/common.sh"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break || sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" HOME="$work/home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
unset XDG_DATA_HOME
shared="$work/root/usr/share/meadowgunner"
user="$HOME/.local/share/meadowgunner"

# The colour of the screen's centre, as hex RGB.
centre() {
    /usr/bin/python3 -c 'from Xlib import X, display
b = display.Display().screen().root.get_image(400, 300, 1, 1, X.ZPixmap, 0xffffffff).data
print(bytes(reversed(b[:3])).hex())'
}

# play [COLOUR]: starts the game from an unrelated folder and waits for its window (and,
# if given, for the screen's centre to show COLOUR); Escape must end it with status 0
# and nothing on its error stream.
play() {
    (cd / && exec "$work/root/usr/games/meadowgunner" 2>"$work/stderr") &
    local pid=$! colour=
    pids+=("$pid")
    timeout 30 xdotool search --sync --name Meadowgunner >/dev/null || fail "no window"
    for _ in $(seq 100); do
        colour=$(centre)
        [ -z "${1:-}" ] || [ "$colour" = "$1" ] && break || sleep 0.1
    done
    [ -z "${1:-}" ] || [ "$colour" = "$1" ] || fail "the centre shows $colour, not $1"
    xdotool keydown Escape && sleep 0.3 && xdotool keyup Escape
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null && sleep 0.1; done
    ! kill -0 "$pid" 2>/dev/null || fail "Escape did not end the game"
    wait "$pid" || fail "the game ended with status $?"
    [ ! -s "$work/stderr" ] || fail "complaints: $(cat "$work/stderr")"
}

play
cmp -s "$user/config.ini" "$shared/config.ini" && [ ! -L "$user/config.ini" ] ||
    fail "config.ini is not the user's own copy"
[ "$(readlink "$user/default.ini")" = "$shared/default.ini" ] || fail "default.ini is not linked"
[ -d "$user/themes" ] && [ ! -L "$user/themes" ] || fail "themes/ is not the user's folder"
[ "$(readlink "$user/themes/meadow")" = "$shared/themes/meadow" ] || fail "no link to the theme"

# A user theme: the shipped one with a plain splash picture, chosen in config.ini. Links
# left by another installation, one to a file it no longer has, and a link of the user's
# own in place of one of ours.
cp -rL "$user/themes/meadow" "$user/themes/plain"
/usr/bin/python3 -c 'import sys; from PIL import Image
Image.new("RGB", (800, 600), (200, 30, 160)).save(sys.argv[1])' \
    "$user/themes/plain/$(sed -n 's/^splashscreen=//p' "$user/default.ini")"
sed 's|^themepath=.*|themepath=themes/plain/|' "$user/default.ini" >"$user/plain.ini"
sed -i 's|^theme0=.*|theme0=plain.ini|' "$user/config.ini"
mkdir -p "$work/old/share/meadowgunner" && cp "$shared/help_en.txt" "$work/old/share/meadowgunner"
ln -sfn "$work/old/share/meadowgunner/help_en.txt" "$user/help_en.txt"
ln -s /gone/share/meadowgunner/gone.lng "$user/gone.lng"
ln -sfn "$user/config.ini" "$user/story_en.txt"
play c81ea0
grep -qx "theme0=plain.ini" "$user/config.ini" || fail "the edited config.ini was replaced"
[ "$(readlink "$user/help_en.txt")" = "$shared/help_en.txt" ] || fail "an old link was kept"
[ ! -L "$user/gone.lng" ] || fail "a link to a vanished file was kept"
[ "$(readlink "$user/story_en.txt")" = "$user/config.ini" ] || fail "the user's own link was replaced"
[ -d "$user/themes/plain" ] && [ ! -L "$user/themes/plain" ] || fail "the user theme was replaced"
exit 0
