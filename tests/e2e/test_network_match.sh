#!/usr/bin/env bash
# Two copies of the game play a network match over loopback: the server's waiting
# screen, the client's address entry, the client's keys moving its cannon on both
# screens, a client shot heard on both sides, ESC on either side ending both matches,
# a second match in the same run, and a client that finds no server.
source "$(dirname "$0")/lib.sh"
e2e_setup "$@"

GAME_PORT=7882
ENTRY_X=400
SERVER_ENTRY_Y=245 # the band of menu entry 3 (226..263)
CLIENT_ENTRY_Y=285 # the band of menu entry 4 (266..303)
# Black on the menu and on the set-up screens; the meadow in a match.
LEFT_STRIP="0 90 200 120"
# Nothing is written above y 100 on the two set-up screens.
SETUP_BLANK="0 0 800 95"


in_match() {
    local differing
    differing=$(e2e_diff "$2" "$(e2e_theme_path "$1" background)" $LEFT_STRIP)
    [ "$differing" -lt 240 ] && [ "$(e2e_region_mean "$2" $LEFT_STRIP)" -gt 0 ]
}

expect_screen() { # INSTANCE CHECK MESSAGE
    e2e_shot "$1" "$WORK/$1_check.png"
    "$2" "$1" "$WORK/$1_check.png" || e2e_fail "$3"
}
menu_check() { e2e_in_menu "$2"; }
match_check() { in_match "$1" "$2"; }

# leftmost_change INSTANCE FILE Y H: the left edge of whatever differs from the meadow
# in rows Y .. Y+H-1, or "none".
leftmost_change() {
    local box
    box=$(/usr/bin/convert "$2" "$(e2e_theme_path "$1" background)" -compose difference -composite \
        -crop "800x$4+0+$3" +repage -colorspace Gray -threshold 10% -format "%@" info: 2>/dev/null)
    case "$box" in
        [1-9]*x*+*+*) echo "$box" | sed -E 's/^[0-9]+x[0-9]+\+([0-9]+)\+.*/\1/' ;;
        *) echo none ;;
    esac
}

# Another run on this machine may still hold the game's port; wait for it, within reason.
wait_for_free_port() {
    local i=0
    while ss -Htln "sport = :$GAME_PORT" | grep -q . && [ $i -lt 300 ]; do
        sleep 0.1
        i=$((i + 1))
    done
}

wait_for_stderr() { # INSTANCE TEXT SECONDS
    local i=0
    while ! grep -qF "$2" "$(e2e_stderr "$1")" && [ $i -lt $(($3 * 10)) ]; do
        sleep 0.1
        i=$((i + 1))
    done
    grep -qF "$2" "$(e2e_stderr "$1")"
}

# The client's address text starts with the default address: clear it, type another.
type_address_and_connect() {
    local key
    for _ in $(seq 1 12); do
        e2e_key client BackSpace
    done
    for key in "$@"; do
        e2e_key client "$key"
    done
    e2e_key client Return
}
type_loopback_and_connect() { type_address_and_connect 1 2 7 period 0 period 0 period 1; }

start_server_waiting() {
    wait_for_free_port
    e2e_shot server "$WORK/server_menu.png"
    e2e_click server "$ENTRY_X" "$SERVER_ENTRY_Y"
    sleep 0.8
    e2e_expect_running server "the server ended on its waiting screen"
    e2e_shot server "$WORK/server_waiting.png"
    [ "$(e2e_diff "$WORK/server_menu.png" "$WORK/server_waiting.png")" -gt 0 ] ||
        e2e_fail "the server's waiting screen looks like the menu"
    [ "$(e2e_region_mean "$WORK/server_waiting.png" $SETUP_BLANK)" = 0 ] ||
        e2e_fail "the waiting screen is not drawn on black"
    [ "$(e2e_region_mean "$WORK/server_waiting.png" 30 200 700 32)" -gt 0 ] ||
        e2e_fail "no waiting line at y 200"
}

connect_client() {
    e2e_click client "$ENTRY_X" "$CLIENT_ENTRY_Y"
    sleep 0.5
    e2e_expect_running client "the client ended on its address screen"
    e2e_shot client "$WORK/client_address.png"
    [ "$(e2e_region_mean "$WORK/client_address.png" $SETUP_BLANK)" = 0 ] ||
        e2e_fail "the address screen is not drawn on black"
    [ "$(e2e_region_mean "$WORK/client_address.png" 30 100 700 32)" -gt 0 ] ||
        e2e_fail "no address prompt at y 100"
    type_loopback_and_connect
    sleep 1.5
    e2e_expect_running client "the client ended after Return"
    e2e_expect_running server "the server ended when the client connected"
    expect_screen server match_check "the server shows no field after the client connected"
    expect_screen client match_check "the client shows no field after connecting"
}

for instance in server client; do
    e2e_prepare "$instance"
    e2e_config "$instance" sheepmax 20
    e2e_config "$instance" maxshots 3
    e2e_config "$instance" frameduration 30
done
e2e_start server
e2e_end_splash server
e2e_start client
e2e_end_splash client
expect_screen server menu_check "the server's menu did not show"
expect_screen client menu_check "the client's menu did not show"

# --- First match: the client's keys, a client shot, ESC on the client -------------------
start_server_waiting
connect_client

SERVER_BAND_H=$(e2e_picture_height "$(e2e_theme_path server cannon2)")
SERVER_BAND_Y=$((207 - SERVER_BAND_H))
CLIENT_BAND_Y=$((600 - 210))
CLIENT_BAND_H=$(e2e_picture_height "$(e2e_theme_path client cannon1)")

e2e_shot server "$WORK/server_before.png"
e2e_shot client "$WORK/client_before.png"
e2e_key client Left 500
sleep 0.5
e2e_shot server "$WORK/server_after.png"
e2e_shot client "$WORK/client_after.png"
server_from=$(leftmost_change server "$WORK/server_before.png" $SERVER_BAND_Y $SERVER_BAND_H)
server_to=$(leftmost_change server "$WORK/server_after.png" $SERVER_BAND_Y $SERVER_BAND_H)
client_from=$(leftmost_change client "$WORK/client_before.png" $CLIENT_BAND_Y $CLIENT_BAND_H)
client_to=$(leftmost_change client "$WORK/client_after.png" $CLIENT_BAND_Y $CLIENT_BAND_H)
for value in "$server_from" "$server_to" "$client_from" "$client_to"; do
    [ "$value" != none ] || e2e_fail "a cannon is missing from its row"
done
[ "$server_to" -gt "$server_from" ] ||
    e2e_fail "Left on the client did not move player 2's cannon right on the server ($server_from -> $server_to)"
[ "$client_to" -lt "$client_from" ] ||
    e2e_fail "Left on the client did not move its own cannon left ($client_from -> $client_to)"

client_loud=$(e2e_audio_loud client)
server_loud=$(e2e_audio_loud server)
e2e_key client space 200
sleep 1.5
[ "$(e2e_audio_loud client)" -gt "$client_loud" ] || e2e_fail "the client did not hear its shot"
[ "$(e2e_audio_loud server)" -gt "$server_loud" ] || e2e_fail "the server did not hear the client's shot"

# The client shoots its way along the server's herd until a shot kills a sheep: the
# server resolves the hit and its message carries the sheep sound bit back, which the
# client reports as a "sheep 1 ..." line. Only the client fires in this match.
for attempt in $(seq 1 16); do
    grep -q "^sheep 1 " "$(e2e_stderr client)" && break
    e2e_key client space 150
    if [ "$attempt" -le 8 ]; then e2e_key client Right 250; else e2e_key client Left 250; fi
    sleep 0.4
done
sleep 2
grep -q "^sheep 1 " "$(e2e_stderr client)" ||
    e2e_fail "no shot of the client killed a sheep of the server's herd"

e2e_key client Escape 200
wait_for_stderr server "Couldn't receive client data!" 10 ||
    e2e_fail "the server did not notice that the client left"
sleep 0.5
e2e_expect_running server "the server ended with the match"
e2e_expect_running client "the client ended with the match"
expect_screen server menu_check "the server is not back in its menu"
expect_screen client menu_check "the client is not back in its menu"

# --- Second match in the same run: the port opens again; ESC on the server -----------
start_server_waiting
connect_client
e2e_key server Escape 200
wait_for_stderr client "Couldn't receive server data!" 10 ||
    grep -qF "Couldn't send data to server!" "$(e2e_stderr client)" ||
    e2e_fail "the client did not notice that the server left"
sleep 0.5
expect_screen server menu_check "the server is not back in its menu after its ESC"
expect_screen client menu_check "the client is not back in its menu after the server left"

# --- Both quit from their menus ------------------------------------------------------------
e2e_key server Escape 300
e2e_key client Escape 300
[ "$(e2e_wait_exit server 10)" = 0 ] || e2e_fail "the server did not quit with status 0"
[ "$(e2e_wait_exit client 10)" = 0 ] || e2e_fail "the client did not quit with status 0"

# --- A client that finds no server ends with status 2 ------------------------------------
client_cannot_connect() { # WHAT KEYS...
    local what=$1
    shift
    e2e_start client
    e2e_end_splash client
    e2e_click client "$ENTRY_X" "$CLIENT_ENTRY_Y"
    sleep 0.5
    type_address_and_connect "$@"
    [ "$(e2e_wait_exit client 10)" = 2 ] || e2e_fail "$what did not end with 2"
    grep -q "^5 SDLNet_TCP_Open: " "$(e2e_stderr client)" ||
        e2e_fail "$what wrote no '5 SDLNet_TCP_Open' line"
}
wait_for_free_port
if ! ss -Htln "sport = :$GAME_PORT" | grep -q .; then
    client_cannot_connect "a refused connection" 1 2 7 period 0 period 0 period 1
fi
# An empty address names no host; it must not turn the client into a listener.
client_cannot_connect "an empty address"

e2e_pass
