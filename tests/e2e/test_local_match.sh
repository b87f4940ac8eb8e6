#!/usr/bin/env bash
# The local match in a real window. The demo: frames advance, a result appears with
# its "Press ESC to continue." bar, ESC returns to the menu. The match against the
# computer: the arrows move player 1's cannon, Ctrl+Left its shield, Space fires with a
# sound, F shows the frame rate, ESC returns to the menu and a fresh ESC quits.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

ENTRY_X=400
START_GAME_Y=165 # the band of menu entry 1 (146..183)
DEMO_Y=205       # the band of menu entry 2 (186..223)
# Black on the menu; the meadow in a match, where nothing is drawn over it.
LEFT_STRIP="0 90 200 120"


# In the demo the shield and explosions of player 2 may pass through that strip, so
# most of it, not all, has to be meadow.
in_match() { # INSTANCE FILE
    [ "$(e2e_diff "$2" "$(e2e_theme_path "$1" background)" $LEFT_STRIP)" -lt 12000 ] &&
        [ "$(e2e_region_mean "$2" $LEFT_STRIP)" -gt 0 ]
}

# changed_box INSTANCE FILE X Y W H: the bounding box (WxH+X+Y, relative to the region)
# of whatever differs from the meadow in that region, or "none".
changed_box() {
    local box
    box=$(/usr/bin/convert "$2" "$(e2e_theme_path "$1" background)" -compose difference -composite \
        -crop "$5x$6+$3+$4" +repage -colorspace Gray -threshold 10% -format "%@" info: 2>/dev/null)
    case "$box" in
        [1-9]*x*+*+*) echo "$box" ;;
        *) echo none ;;
    esac
}

# left_edge INSTANCE FILE Y H: the left edge of what differs from the meadow in rows
# Y .. Y+H-1 across the whole width, or "none".
left_edge() {
    local box
    box=$(changed_box "$1" "$2" 0 "$3" 800 "$4")
    [ "$box" = none ] && { echo none; return; }
    echo "$box" | sed -E 's/^[0-9]+x[0-9]+\+([0-9]+)\+.*/\1/'
}

# changed_pixels INSTANCE FILE X Y W H: how many pixels of the region differ from the meadow.
changed_pixels() {
    e2e_diff "$2" "$(e2e_theme_path "$1" background)" "$3" "$4" "$5" "$6"
}

# Audio written by the disk driver from byte OFFSET on that is not silence (u8, 0x80).
audio_size() { stat -c %s "$WORK/$1/audio.raw" 2>/dev/null || echo 0; }
loud_since() { # INSTANCE OFFSET
    tail -c "+$(($2 + 1))" "$WORK/$1/audio.raw" | od -An -v -tu1 | tr -s ' ' '\n' |
        awk '$1 != "" && ($1 < 120 || $1 > 136) {n++} END {print n+0}'
}

start_entry() { # INSTANCE Y: a fresh held click on a menu entry
    e2e_click "$1" "$ENTRY_X" "$2" 1 200
    sleep 0.5
}

# --- The demo: the computer plays both sides until one wins ----------------------------
e2e_prepare demo
e2e_config demo sheepmax 2
e2e_config demo maxshots 3
e2e_config demo shotspeed 40
e2e_config demo sheepspeed 8
e2e_config demo frameduration 15
e2e_start demo
e2e_end_splash demo
e2e_expect_running demo "the game ended at the splash"

start_entry demo "$DEMO_Y"
e2e_shot demo "$WORK/demo1.png"
in_match demo "$WORK/demo1.png" || e2e_fail "the demo entry did not start a match"
sleep 0.4
e2e_shot demo "$WORK/demo2.png"
[ "$(e2e_diff "$WORK/demo1.png" "$WORK/demo2.png")" -gt 0 ] ||
    e2e_fail "the demo's frames do not advance"

# A decided match shows the border bar at (W/2 - 180, H - 180) under the ESC hint; its
# top rows stay clear of the hint text, so they match the border picture itself.
BORDER=$(e2e_theme_path demo border)
BORDER_W=$(e2e_picture_width "$BORDER")
BAR_ROWS=$(($(e2e_picture_height "$BORDER") < 8 ? $(e2e_picture_height "$BORDER") : 8))
/usr/bin/convert "$BORDER" -crop "${BORDER_W}x${BAR_ROWS}+0+0" +repage "$WORK/bar_top.png"
result_shown() {
    /usr/bin/convert "$1" -crop "${BORDER_W}x${BAR_ROWS}+220+420" +repage "$WORK/seen_bar.png"
    [ "$(e2e_diff "$WORK/seen_bar.png" "$WORK/bar_top.png")" -lt $((BORDER_W * BAR_ROWS / 20)) ]
}
decided=0
for _ in $(seq 1 120); do
    e2e_shot demo "$WORK/demo_now.png"
    if result_shown "$WORK/demo_now.png"; then
        decided=1
        break
    fi
    e2e_expect_running demo "the game ended during the demo"
    sleep 0.5
done
[ $decided = 1 ] || e2e_fail "the demo was not decided within about a minute"

e2e_key demo Escape 200
sleep 0.5
e2e_shot demo "$WORK/demo_menu.png"
e2e_expect_running demo "ESC in the demo ended the game"
e2e_in_menu "$WORK/demo_menu.png" || e2e_fail "ESC did not return from the demo to the menu"
# A fresh ESC on the menu quits.
e2e_move demo 700 560
e2e_key demo Escape 200
[ "$(e2e_wait_exit demo 10)" = 0 ] || e2e_fail "a fresh ESC on the menu did not quit with status 0"

# --- The match against the computer ------------------------------------------------
# Shots stand still (shotspeed 0): the computer fires its three shots at once and then
# is silent, and the rows of player 1's cannon and shield hold nothing else.
e2e_prepare match
e2e_config match sheepmax 2
e2e_config match maxshots 3
e2e_config match shotspeed 0
e2e_config match shiftslow 1
e2e_config match speedfast 12
e2e_config match speedslow 6
e2e_start match
e2e_end_splash match
start_entry match "$START_GAME_Y"
sleep 1.5
e2e_shot match "$WORK/m0.png"
in_match match "$WORK/m0.png" || e2e_fail "the StartGame entry did not start a match"
result_shown "$WORK/m0.png" && e2e_fail "a result is shown in an undecided match"

CANNON_H=$(e2e_picture_height "$(e2e_theme_path match cannon1)")
CANNON_W=$(e2e_picture_width "$(e2e_theme_path match cannon1)")
SHIELD_H=$(e2e_picture_height "$(e2e_theme_path match shield1)")
SHOT_H=$(e2e_picture_height "$(e2e_theme_path match shot)")
CANNON_Y=$((600 - 210))
SHIELD_Y=$((600 - 135))

cannon0=$(left_edge match "$WORK/m0.png" "$CANNON_Y" "$CANNON_H")
shield0=$(left_edge match "$WORK/m0.png" "$SHIELD_Y" "$SHIELD_H")
[ "$cannon0" != none ] || e2e_fail "no cannon of player 1 in rows $CANNON_Y.."
[ "$shield0" != none ] || e2e_fail "no shield of player 1 in rows $SHIELD_Y.."
# Set up centred on the screen.
[ $((cannon0 + CANNON_W / 2 - 400)) -le "$CANNON_W" ] && [ $((400 - cannon0)) -le "$CANNON_W" ] ||
    e2e_fail "player 1's cannon starts at x $cannon0, not near the centre"

e2e_key match Left 300
e2e_shot match "$WORK/m1.png"
cannon1=$(left_edge match "$WORK/m1.png" "$CANNON_Y" "$CANNON_H")
[ "$cannon1" != none ] && [ "$cannon1" -le $((cannon0 - 12)) ] ||
    e2e_fail "Left did not move the cannon left ($cannon0 -> $cannon1)"
[ "$(left_edge match "$WORK/m1.png" "$SHIELD_Y" "$SHIELD_H")" = "$shield0" ] ||
    e2e_fail "Left moved the shield as well"

e2e_key match Right 600
e2e_shot match "$WORK/m2.png"
cannon2=$(left_edge match "$WORK/m2.png" "$CANNON_Y" "$CANNON_H")
[ "$cannon2" != none ] && [ "$cannon2" -ge $((cannon1 + 12)) ] ||
    e2e_fail "Right did not move the cannon right ($cannon1 -> $cannon2)"

# Ctrl goes down before Left and up after it, so no frame sees Left alone.
e2e_keydown match ctrl
sleep 0.1
e2e_key match Left 300
e2e_keyup match ctrl
sleep 0.1
e2e_shot match "$WORK/m3.png"
shield1=$(left_edge match "$WORK/m3.png" "$SHIELD_Y" "$SHIELD_H")
[ "$shield1" != none ] && [ "$shield1" -le $((shield0 - 12)) ] ||
    e2e_fail "Ctrl+Left did not move the shield left ($shield0 -> $shield1)"
[ "$(left_edge match "$WORK/m3.png" "$CANNON_Y" "$CANNON_H")" = "$cannon2" ] ||
    e2e_fail "Ctrl+Left moved the cannon as well"

# Space: a shot just above the cannon, and the shot sound in the audio output.
quiet_from=$(audio_size match)
sleep 1
[ "$(loud_since match "$quiet_from")" = 0 ] || e2e_fail "the match is not silent before firing"
[ "$(changed_box match "$WORK/m3.png" "$cannon2" $((CANNON_Y - SHOT_H)) "$CANNON_W" "$SHOT_H")" = none ] ||
    e2e_fail "something stands above the cannon before firing"
fire_from=$(audio_size match)
e2e_key match space 150
sleep 1
e2e_shot match "$WORK/m4.png"
[ "$(changed_box match "$WORK/m4.png" "$cannon2" $((CANNON_Y - SHOT_H)) "$CANNON_W" "$SHOT_H")" != none ] ||
    e2e_fail "Space put no shot above the cannon"
[ "$(loud_since match "$fire_from")" -gt 0 ] || e2e_fail "firing made no sound"

# F shows the frame rate at (W - 170, 345).
[ "$(changed_pixels match "$WORK/m4.png" 630 345 170 32)" -lt 20 ] ||
    e2e_fail "a frame-rate text is shown before F"
e2e_key match f 150
sleep 0.3
e2e_shot match "$WORK/m5.png"
[ "$(changed_pixels match "$WORK/m5.png" 630 345 170 32)" -gt 100 ] ||
    e2e_fail "F did not show the frame-rate text"

e2e_key match Escape 200
sleep 0.5
e2e_shot match "$WORK/m6.png"
e2e_expect_running match "ESC in the match ended the game"
e2e_in_menu "$WORK/m6.png" || e2e_fail "ESC did not return from the match to the menu"
grep -q "BlitSurface error" "$(e2e_stderr match)" && e2e_fail "the match reported failed blits"
e2e_pass
