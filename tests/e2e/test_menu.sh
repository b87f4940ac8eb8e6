#!/usr/bin/env bash
# The main menu in a real window: the splash and the click lock, the highlight bar, a
# local match and the escape lock, the four screens and their back button, the German
# texts, and closing the window from the menu, a screen and a match.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"


# The pointer's place on menu entry k: the middle of its band.
ENTRY_X=400

# Between the two HUD lines (rows 255..339) a match shows its background, crossed only
# by shots and the odd explosion.
MIDFIELD="0 255 800 85"

# in_match INSTANCE FILE: the midfield is (nearly all) the theme's background picture.
in_match() {
    local differing
    differing=$(e2e_diff "$2" "$(e2e_theme_path "$1" background)" $MIDFIELD)
    [ "$differing" -lt $((800 * 85 / 10)) ] && [ "$(e2e_region_mean "$2" $MIDFIELD)" -gt 0 ]
}

# The window's close button: without a window manager in Xvfb, e2e_close sends the
# WM_DELETE_WINDOW message a window manager would send, which SDL turns into SDL_QUIT.
close_window() {
    e2e_close "$1" || e2e_fail "could not send the close request to $1"
}

# enter_menu INSTANCE: ends the splash with a click beside the menu entries.
enter_menu() {
    e2e_end_splash "$1"
    ! e2e_on_splash "$1" || e2e_fail "a click did not end the splash on $1"
}

# shot_until INSTANCE FILE CHECK...: takes screenshots into FILE until CHECK FILE holds,
# for at most ten seconds; the game may be slow under load.
shot_until() {
    local instance=$1 file=$2 tries=0
    shift 2
    while :; do
        e2e_shot "$instance" "$file"
        "$@" "$file" && return 0
        tries=$((tries + 1))
        [ $tries -lt 50 ] || return 1
        sleep 0.2
    done
}

expect_menu() {
    shot_until "$1" "$WORK/check.png" e2e_in_menu || e2e_fail "$2"
}

# --- Splash, click lock, highlight bar, a local match and the escape lock -------------
e2e_prepare menu
e2e_start menu
BORDER=$(e2e_theme_path menu border)
BORDER_H=$(e2e_picture_height "$BORDER")
BORDER_W=$(e2e_picture_width "$BORDER")
BACK_X=100
BACK_Y=$((600 - 20 - BORDER_H / 2))

# A click over entry 1 ends the splash; held on into the menu, it starts nothing.
e2e_wait_for_splash menu
e2e_move menu "$ENTRY_X" "$(e2e_entry_y 1)"
_e2e_xdo menu mousedown 1
tries=0
while e2e_on_splash menu; do
    tries=$((tries + 1))
    [ $tries -lt 25 ] || e2e_fail "a held click did not end the splash"
    sleep 0.2
done
sleep 0.5
e2e_shot menu "$WORK/held.png"
_e2e_xdo menu mouseup 1
sleep 0.5
e2e_expect_running menu "the splash click ended the game"
e2e_in_menu "$WORK/held.png" || e2e_fail "the click that ended the splash started something"
expect_menu menu "releasing the splash click left the menu"

# The highlight bar follows the pointer: on entry 2 it covers the bar's place, on the
# gap row 184 that place is empty.
e2e_move menu "$ENTRY_X" "$(e2e_entry_y 2)"
sleep 0.2
e2e_shot menu "$WORK/bar_entry2.png"
e2e_move menu "$ENTRY_X" 184
sleep 0.2
e2e_shot menu "$WORK/bar_gap.png"
e2e_in_menu "$WORK/bar_gap.png" || e2e_fail "the gap row does not show the menu"
[ "$(e2e_diff "$WORK/bar_entry2.png" "$WORK/bar_gap.png" 220 183 "$BORDER_W" 3)" -gt 0 ] ||
    e2e_fail "no highlight bar at y 183 with the pointer on entry 2"
[ "$(e2e_region_mean "$WORK/bar_gap.png" 220 183 "$BORDER_W" 3)" = 0 ] ||
    e2e_fail "a bar is drawn while the pointer is on a gap row"

# A fresh click on entry 1 starts the local match on the meadow.
e2e_click menu "$ENTRY_X" "$(e2e_entry_y 1)"
shot_until menu "$WORK/match.png" in_match menu ||
    e2e_fail "a fresh click on entry 1 did not start the match"

# ESC leaves the match; held on, it does not leave the menu too.
e2e_keydown menu Escape
sleep 0.8
e2e_expect_running menu "ESC held from the match quit the menu"
expect_menu menu "ESC did not bring the menu back from the match"
e2e_keyup menu Escape
sleep 0.3
e2e_expect_running menu "releasing ESC quit the menu"

# --- The four screens, each left by ESC and by its back button -----------------------
# same_as REFERENCE FILE: the two screenshots are identical.
same_as() { [ "$(e2e_diff "$1" "$2")" = 0 ]; }

e2e_move menu "$BACK_X" "$BACK_Y"
shot_until menu "$WORK/menu_plain.png" same_as "$WORK/bar_gap.png" ||
    e2e_fail "the menu looks different after a match"

# a_screen FILE: the menu has given way to a screen with a back button, on black.
a_screen() {
    [ "$(e2e_diff "$1" "$WORK/menu_plain.png" 0 0 800 500)" -gt 500 ] &&
        [ "$(e2e_region_mean "$1" 0 0 15 600)" = 0 ] &&
        [ "$(e2e_region_mean "$1" 20 $((600 - 20 - BORDER_H)) 175 "$BORDER_H")" -gt 0 ]
}

# open_screen NAME ENTRY: clicks the entry, checks that a screen with text and a back
# button replaced the menu, and keeps its screenshot as NAME.png.
open_screen() {
    e2e_click menu "$ENTRY_X" "$(e2e_entry_y "$2")"
    shot_until menu "$WORK/$1.png" a_screen || e2e_fail "$1 did not open"
    e2e_expect_running menu "opening $1 ended the game"
    [ "$(e2e_region_mean "$WORK/$1.png" 0 0 800 500)" -gt 0 ] || e2e_fail "$1 shows no text"
}

# back_to_menu NAME HOW: the screen is gone and the menu shows, without quitting.
back_to_menu() {
    expect_menu menu "$2 did not leave $1"
    e2e_expect_running menu "leaving $1 by $2 ended the game"
}

screen_number=5
for screen in options help story credits; do
    open_screen "$screen" "$screen_number"
    e2e_key menu Escape 300
    back_to_menu "$screen" ESC
    # A fresh ESC now quits unless the pointer rests on entries 5 to 9, as it does here.
    open_screen "$screen" "$screen_number"
    e2e_click menu "$BACK_X" "$BACK_Y"
    back_to_menu "$screen" "the back button"
    screen_number=$((screen_number + 1))
done

for pair in "options help" "options story" "options credits" "help story" "help credits" \
    "story credits"; do
    set -- $pair
    [ "$(e2e_diff "$WORK/$1.png" "$WORK/$2.png" 0 0 800 500)" -gt 200 ] ||
        e2e_fail "the $1 and $2 screens look alike"
done

# Reopening a screen shows the same picture: its line breaks stay put.
open_screen options 5
e2e_shot menu "$WORK/options_again.png"
[ "$(e2e_diff "$WORK/options.png" "$WORK/options_again.png")" = 0 ] ||
    e2e_fail "the options screen changed between two visits"
e2e_key menu Escape 300
back_to_menu options ESC

# A fresh ESC with the pointer off entries 5 to 9 quits with status 0.
e2e_move menu "$BACK_X" "$BACK_Y"
e2e_key menu Escape 300
STATUS=$(e2e_wait_exit menu 10)
[ "$STATUS" = 0 ] || e2e_fail "a fresh ESC on the menu did not quit with 0 (status $STATUS)"

# --- German texts --------------------------------------------------------------------
e2e_prepare german
e2e_config german currentlanguage 1
e2e_start german
enter_menu german
e2e_move german "$BACK_X" "$BACK_Y"
shot_until german "$WORK/menu_german.png" e2e_in_menu || e2e_fail "the German menu does not show"
[ "$(e2e_diff "$WORK/menu_german.png" "$WORK/menu_plain.png" 225 60 575 440)" -gt 200 ] ||
    e2e_fail "the German menu looks like the English one"
close_window german
STATUS=$(e2e_wait_exit german 10)
[ "$STATUS" = 0 ] || e2e_fail "closing the window on the menu: status $STATUS"

# --- Closing the window from a screen and from a match -------------------------------
e2e_prepare closescreen
e2e_start closescreen
enter_menu closescreen
e2e_click closescreen "$ENTRY_X" "$(e2e_entry_y 6)"
shot_until closescreen "$WORK/close_help.png" same_as "$WORK/help.png" ||
    e2e_fail "the help screen did not open before closing"
close_window closescreen
STATUS=$(e2e_wait_exit closescreen 10)
[ "$STATUS" = 0 ] || e2e_fail "closing the window on a screen: status $STATUS"

e2e_prepare closematch
e2e_start closematch
enter_menu closematch
e2e_click closematch "$ENTRY_X" "$(e2e_entry_y 2)"
shot_until closematch "$WORK/close_demo.png" in_match closematch ||
    e2e_fail "the demo did not start before closing"
close_window closematch
STATUS=$(e2e_wait_exit closematch 10)
[ "$STATUS" = 0 ] || e2e_fail "closing the window in a match: status $STATUS"

e2e_pass
