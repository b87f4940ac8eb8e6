#!/usr/bin/env bash
# Real-window test harness: every game instance gets its own copy of data/ and its own
# Xvfb display; the game is driven with xdotool and read back from screenshots.
# Usage in a test: source "$(dirname "$0")/lib.sh"; e2e_setup "$@"; ...; e2e_pass
set -u

CONVERT=/usr/bin/convert
E2E_PIDS=()

e2e_fail() {
    echo "FAIL: $*" >&2
    for instance_dir in "$WORK"/*/; do
        [ -f "$instance_dir/stderr" ] || continue
        echo "--- stderr of $(basename "$instance_dir") (last lines):" >&2
        tail -n 20 "$instance_dir/stderr" >&2
    done
    echo "0 passed, 1 failed"
    exit 1
}

e2e_pass() {
    echo "1 passed, 0 failed"
    exit 0
}

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    sleep 0.2
    for pid in "${E2E_PIDS[@]}"; do
        kill -9 "$pid" 2>/dev/null
    done
    [ -n "${E2E_KEEP:-}" ] || rm -rf "$WORK"
}

# e2e_setup BINARY DATA_DIR
e2e_setup() {
    GAME=$(readlink -f "$1")
    DATA=$(readlink -f "$2")
    [ -x "$GAME" ] || { echo "no game binary at $1"; exit 1; }
    WORK=$(mktemp -d /tmp/meadow-e2e-XXXXXX)
    trap e2e_cleanup EXIT
    for tool in Xvfb xdotool import; do
        command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
    done
}

_e2e_free_display() {
    local n=$((20 + RANDOM % 400))
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    echo "$n"
}

# e2e_prepare INSTANCE: a fresh copy of data/ and a display of its own.
e2e_prepare() {
    local instance=$1 dir="$WORK/$1" display tries=0
    mkdir -p "$dir"
    cp -r "$DATA/." "$dir/"
    rm -f "$dir/sdlaudio.raw"
    while :; do
        display=$(_e2e_free_display)
        Xvfb ":$display" -screen 0 800x600x24 -nolisten tcp -noreset >"$dir/xvfb.log" 2>&1 &
        local xpid=$!
        E2E_PIDS+=("$xpid")
        local waited=0
        while [ ! -e "/tmp/.X11-unix/X$display" ] && kill -0 "$xpid" 2>/dev/null && [ $waited -lt 100 ]; do
            sleep 0.05
            waited=$((waited + 1))
        done
        if [ -e "/tmp/.X11-unix/X$display" ] && kill -0 "$xpid" 2>/dev/null; then
            break
        fi
        tries=$((tries + 1))
        [ $tries -lt 5 ] || e2e_fail "could not start Xvfb"
    done
    echo ":$display" >"$dir/display"
    sleep 0.3
}

_e2e_display() { cat "$WORK/$1/display"; }

# e2e_config INSTANCE KEY VALUE: replaces every KEY= line (or adds one at the top, so a
# selection line still precedes the lines it chooses among).
e2e_config() {
    local file="$WORK/$1/config.ini" key=$2 value=$3
    if grep -q "^$key=" "$file"; then
        sed -i "s|^$key=.*|$key=$value|" "$file"
    else
        sed -i "1i $key=$value" "$file"
    fi
}

# _e2e_launch INSTANCE [ARGS...]: runs the game in the background; its pid goes to
# INSTANCE/pid and, once it ends, its exit status to INSTANCE/status. Assignments in
# E2E_EXTRA_ENV (space-separated) are added to the game's environment.
_e2e_launch() {
    local instance=$1 dir="$WORK/$1"
    shift
    rm -f "$dir/status" "$dir/pid"
    (
        cd "$dir" || exit 1
        # shellcheck disable=SC2086
        env DISPLAY="$(_e2e_display "$instance")" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk \
            SDL_DISKAUDIOFILE="$dir/audio.raw" SDL_DISKAUDIODELAY=46 ${E2E_EXTRA_ENV:-} \
            "$GAME" "$@" >"$dir/stdout" 2>"$dir/stderr" &
        echo $! >"$dir/pid"
        wait $!
        echo $? >"$dir/status"
    ) &
    local i=0
    while [ ! -s "$dir/pid" ] && [ $i -lt 100 ]; do
        sleep 0.02
        i=$((i + 1))
    done
    E2E_PIDS+=("$(cat "$dir/pid")")
}

# e2e_start INSTANCE [ARGS...]: starts the game and waits for its window.
e2e_start() {
    _e2e_launch "$@"
    e2e_wait_window "$1" 20 || e2e_fail "no window for $1"
}

# e2e_start_no_wait INSTANCE [ARGS...]: for runs that are expected to end at once.
e2e_start_no_wait() {
    _e2e_launch "$@"
}

e2e_window() {
    DISPLAY=$(_e2e_display "$1") xdotool search --name "Meadowgunner" 2>/dev/null | head -n 1
}

e2e_wait_window() {
    local instance=$1 limit=${2:-15} i=0
    while [ $i -lt $((limit * 10)) ]; do
        if [ -n "$(e2e_window "$instance")" ]; then
            sleep 0.3
            return 0
        fi
        e2e_running "$instance" || return 1
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

_e2e_xdo() {
    local instance=$1
    shift
    DISPLAY=$(_e2e_display "$instance") xdotool "$@"
}

# A combination such as ctrl+Left goes down modifiers first and comes up key first, so
# the game never sees the bare key without its modifier.
e2e_keydown() {
    local part
    IFS=+ read -r -a parts <<<"$2"
    for part in "${parts[@]}"; do
        _e2e_xdo "$1" keydown "$part"
    done
}
e2e_keyup() {
    local i
    IFS=+ read -r -a parts <<<"$2"
    for ((i = ${#parts[@]} - 1; i >= 0; i--)); do
        _e2e_xdo "$1" keyup "${parts[i]}"
    done
}

# e2e_key INSTANCE KEY [MS]: press, hold, release.
e2e_key() {
    local ms=${3:-150}
    e2e_keydown "$1" "$2"
    sleep "$(awk "BEGIN{print $ms/1000}")"
    e2e_keyup "$1" "$2"
    sleep 0.1
}

e2e_move() { _e2e_xdo "$1" mousemove "$2" "$3"; sleep 0.1; }

# e2e_click INSTANCE X Y [BUTTON] [MS]
e2e_click() {
    local instance=$1 x=$2 y=$3 button=${4:-1} ms=${5:-150}
    e2e_move "$instance" "$x" "$y"
    _e2e_xdo "$instance" mousedown "$button"
    sleep "$(awk "BEGIN{print $ms/1000}")"
    _e2e_xdo "$instance" mouseup "$button"
    sleep 0.1
}

# e2e_close INSTANCE: asks the window to close, as a window manager's close button does.
e2e_close() {
    local window
    window=$(e2e_window "$1")
    [ -n "$window" ] || return 1
    DISPLAY=$(_e2e_display "$1") /usr/bin/python3 - "$window" <<'PY'
import sys
from Xlib import X, display, protocol
d = display.Display()
w = d.create_resource_object("window", int(sys.argv[1]))
protocols = d.intern_atom("WM_PROTOCOLS")
delete = d.intern_atom("WM_DELETE_WINDOW")
event = protocol.event.ClientMessage(window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
w.send_event(event, event_mask=0)
d.flush()
PY
}

# e2e_shot INSTANCE FILE: screenshot of the instance's whole screen.
e2e_shot() {
    import -display "$(_e2e_display "$1")" -window root "$2" 2>/dev/null
}

# e2e_pixel FILE X Y: prints "R G B" (0..255).
e2e_pixel() {
    "$CONVERT" "$1" -format "%[fx:round(255*p{$2,$3}.r)] %[fx:round(255*p{$2,$3}.g)] %[fx:round(255*p{$2,$3}.b)]" info:
}

# e2e_region_mean FILE X Y W H: mean brightness (0..255) of a region.
e2e_region_mean() {
    "$CONVERT" "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -format "%[fx:round(255*mean)]" info:
}

# e2e_diff A B [X Y W H]: number of differing pixels (optionally within a region).
e2e_diff() {
    local a=$1 b=$2
    if [ $# -ge 6 ]; then
        "$CONVERT" "$a" -crop "$5x$6+$3+$4" +repage "$WORK/.diff_a.png"
        "$CONVERT" "$b" -crop "$5x$6+$3+$4" +repage "$WORK/.diff_b.png"
        a="$WORK/.diff_a.png"
        b="$WORK/.diff_b.png"
    fi
    /usr/bin/compare -metric AE "$a" "$b" null: 2>&1 | awk '{print int($1)}'
}

# e2e_wait_exit INSTANCE SECONDS: prints the exit status, or "running".
e2e_wait_exit() {
    local status="$WORK/$1/status" i=0
    while [ ! -s "$status" ] && [ $i -lt $(($2 * 10)) ]; do
        sleep 0.1
        i=$((i + 1))
    done
    if [ -s "$status" ]; then
        cat "$status"
    else
        echo running
    fi
}

e2e_running() { [ ! -s "$WORK/$1/status" ] && kill -0 "$(cat "$WORK/$1/pid")" 2>/dev/null; }
e2e_stderr() { echo "$WORK/$1/stderr"; }
# e2e_game_stderr INSTANCE: the game's own error output, without SDL's disk-audio notice.
e2e_game_stderr() {
    grep -v -e "^WARNING: You are using the SDL disk writer audio driver!$" \
        -e "^ Writing to file \[.*\]\.$" "$WORK/$1/stderr"
}
e2e_stdout() { echo "$WORK/$1/stdout"; }

# e2e_audio_loud INSTANCE: counts samples of the disk audio output that are not silence
# (unsigned 8-bit, silence is 0x80).
e2e_audio_loud() {
    local file="$WORK/$1/audio.raw"
    [ -f "$file" ] || { echo 0; return; }
    od -An -v -tu1 "$file" | tr -s ' ' '\n' | awk '$1 != "" && ($1 < 120 || $1 > 136) {n++} END {print n+0}'
}

# The theme of an instance: a value of its default.ini, a picture's full path and size.
e2e_theme_value() { grep "^$2=" "$WORK/$1/default.ini" | tail -n 1 | cut -d= -f2-; }
e2e_theme_path() { echo "$WORK/$1/$(e2e_theme_value "$1" themepath)$(e2e_theme_value "$1" "$2")"; }
e2e_picture_width() { "$CONVERT" "$1" -format "%w" info:; }
e2e_picture_height() { "$CONVERT" "$1" -format "%h" info:; }

# e2e_on_splash INSTANCE: the splash picture shows, centred.
e2e_on_splash() {
    local splash width height differing
    splash=$(e2e_theme_path "$1" splashscreen)
    width=$(e2e_picture_width "$splash")
    height=$(e2e_picture_height "$splash")
    e2e_shot "$1" "$WORK/$1/splash_check.png"
    "$CONVERT" "$WORK/$1/splash_check.png" \
        -crop "${width}x${height}+$(((800 - width) / 2))+$(((600 - height) / 2))" +repage \
        "$WORK/$1/splash_crop.png"
    differing=$(/usr/bin/compare -metric AE "$WORK/$1/splash_crop.png" "$splash" null: 2>&1 |
        awk '{print int($1)}')
    [ "$differing" -lt $((width * height / 100)) ]
}

# e2e_wait_for_splash INSTANCE: the theme loads before the splash shows, and a click
# before then would be lost.
e2e_wait_for_splash() {
    local tries=0
    until e2e_on_splash "$1"; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || e2e_fail "no splash picture on $1"
        sleep 0.1
    done
}

# The menu: the middle of entry K's pointer band, and whether a screenshot shows the
# menu (nothing drawn left of the entries, the labels drawn).
e2e_entry_y() { echo $((165 + 40 * ($1 - 1))); }
e2e_in_menu() {
    [ "$(e2e_region_mean "$1" 0 90 200 120)" = 0 ] &&
        [ "$(e2e_region_mean "$1" 225 60 400 440)" -gt 0 ]
}

# e2e_expect_running INSTANCE MESSAGE: fails with MESSAGE once the game has ended.
e2e_expect_running() {
    e2e_running "$1" || e2e_fail "$2 (the game ended with status $(e2e_wait_exit "$1" 1))"
}

# e2e_end_splash INSTANCE: waits for the splash, then a held click beside the menu
# entries ends it.
e2e_end_splash() {
    e2e_wait_for_splash "$1"
    e2e_click "$1" 10 590 1 200
    sleep 0.5
}
