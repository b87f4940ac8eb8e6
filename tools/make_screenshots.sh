#!/usr/bin/env bash
# Makes the README pictures: the main menu and a demo match in progress, and a demo match
# in the night theme, each taken from the game running in its own Xvfb display and scaled
# to 640 pixels wide.
# Usage: tools/make_screenshots.sh [GAME_BINARY] [DATA_DIR] [OUTPUT_DIR]
# (defaults: build/release/meadowgunner as ./run builds it, data, docs).
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
game=${1:-$repo/build/release/meadowgunner}
data=${2:-$repo/data}
out=${3:-$repo/docs}

# The real-window test harness brings the display, the input and the screenshots.
source "$repo/tests/e2e/lib.sh"
e2e_setup "$game" "$data"
mkdir -p "$out"


e2e_prepare shots
e2e_start shots
e2e_end_splash shots
e2e_move shots 400 "$(e2e_entry_y 1)"  # the highlight bar on the first entry
sleep 0.5
e2e_shot shots "$WORK/menu.png"

e2e_click shots 400 "$(e2e_entry_y 2)"
sleep 4  # let the computer players fire a few shots
e2e_shot shots "$WORK/match.png"
e2e_close shots

# The night theme is offered as theme 1 of config.ini.
e2e_prepare night
e2e_config night currenttheme 1
e2e_start night
# The harness checks for the meadow's splash; this one is left to end by itself.
tries=0
until e2e_shot night "$WORK/night_menu.png" && e2e_in_menu "$WORK/night_menu.png"; do
    tries=$((tries + 1))
    [ $tries -lt 150 ] || e2e_fail "the night theme shows no menu"
    sleep 0.1
done
e2e_click night 400 "$(e2e_entry_y 2)"
sleep 4
e2e_shot night "$WORK/night.png"
e2e_close night

for picture in menu match night; do
    /usr/bin/convert "$WORK/$picture.png" -resize 640x "$out/$picture.png" ||
        { echo "could not write $out/$picture.png"; exit 1; }
    echo "wrote $out/$picture.png"
done
