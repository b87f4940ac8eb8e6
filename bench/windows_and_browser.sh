# shellcheck shell=bash
# Sourced by bench/run: the Windows game under Wine and the browser game in Chromium,
# measured as the Linux game is (launch, first_frame, frame_rate, click and the rest come
# from bench/run), each run's numbers into $OUT.

# forwarding_def DLL: a .def for a stand-in of DLL that forwards every export to
# SDL_real.dll but SDL_UpdateRect, from the DLL's own export table.
forwarding_def() {
    echo "LIBRARY SDL.dll"
    echo "EXPORTS"
    x86_64-w64-mingw32-objdump -p "$1" | awk '
        /\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
        table && NF == 0 { exit }
        table { name = $NF; print "    " (name == "SDL_UpdateRect" ? name : name " = SDL_real." name) }'
}

# The Windows game's folder copied for this run of the bench, the stand-in SDL.dll in
# front of the real one: the staged folder and its DLLs stay as they are.
windows_probe_folder() {
    local dir=$OUT/windows probe=$OUT/windows-probe
    game_folder "$dir" "$WINDOWS_STAGE" 1
    mkdir -p "$probe"
    forwarding_def "$WINDOWS_STAGE/SDL.dll" >"$probe/SDL.def"
    grep -qx '    SDL_UpdateRect' "$probe/SDL.def" ||
        { echo "bench/run: $WINDOWS_STAGE/SDL.dll exports no SDL_UpdateRect" >&2; exit 1; }
    x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -shared -static-libgcc -static-libstdc++ \
        -o "$probe/SDL.dll" bench/frame_probe_windows.cpp "$probe/SDL.def"
    mv "$dir/SDL.dll" "$dir/SDL_real.dll"
    cp "$probe/SDL.dll" "$dir/SDL.dll"
}

# A Wine prefix for this run of the bench, linked file by file to a master that is made
# once, as the real-window tests do it.
wine_prefix() {
    local master=$BUILD/wine-master
    if [ ! -f "$master/system.reg" ]; then
        rm -rf "$master"
        WINEPREFIX=$master WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" quietly wineboot --init
        WINEPREFIX=$master wineserver --wait
    fi
    "$PYTHON" -c 'import sys; sys.path.insert(0, sys.argv[1]); import targets
targets.own_wine_prefix(sys.argv[2], sys.argv[3])' tests/e2e "$master" "$OUT/wineprefix"
}

# launch_wine NAME DISPLAY: as launch, the Windows game of $OUT/windows under Wine, which
# reads Windows paths; the exec is wine's, so Wine's own start is in the first frame's time.
# The game's window goes to $OUT/wine.window.
launch_wine() {
    local name=$1 log=$OUT/$1/probe.log
    mkdir -p "$OUT/$name" && rm -f "$log"
    log="Z:${log//\//\\}"
    (
        cd "$OUT/windows" || exit 1
        DISPLAY=$2 WINEPREFIX=$OUT/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
            SDL_VIDEODRIVER=windib SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='Z:\dev\null' \
            SDL_DISKAUDIODELAY=46 MEADOW_PROBE_LOG=$log MEADOW_PROBE_START=$EPOCHREALTIME \
            exec wine meadowgunner.exe >"$OUT/$name/output" 2>&1
    ) &
    PIDS+=($!)
    echo $! >"$OUT/$name.pid"
    await_first_frame "$name"
    xdo wine search --sync --onlyvisible --name '^Meadowgunner' | head -n 1 >"$OUT/wine.window"
}

# Every start is Wine's cold start: the prefix's wineserver goes with the game.
stop_wine() {
    stop "$1"
    WINEPREFIX=$OUT/wineprefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$OUT/wineprefix wineserver --wait 2>/dev/null || true
}

measure_windows() {
    start_xvfb wine 810x630
    windows_probe_folder
    wine_prefix
    for _ in $(seq 1 "$RUNS"); do
        launch_wine wine_game "$(cat "$OUT/wine.display")"
        to_menu wine
        menu_entry wine 2
        sleep 1
        echo "$(first_frame wine_game) $(frame_rate wine_game 3)" >>"$OUT/wine.txt"
        stop_wine wine_game
    done
}

# The browser's frame_cost, built as the browser game is, with the theme preloaded.
build_web_bench() {
    export NODE_PATH=/usr/share/nodejs # see tools/web/build-deps
    local prefix
    prefix=$(tools/web/build-deps 2>/dev/null | tail -n 1)
    quietly emcmake cmake -S . -B "$WEB_BUILD" -DMEADOW_TESTS=OFF -DMEADOW_WEB_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release
    quietly cmake --build "$WEB_BUILD" -j2 --target frame_cost
}

# A page that runs frame_cost at once (the build leaves main to the page) and keeps what
# it prints where BrowserRun reads a game's output and status: window.meadow.
frame_cost_page() {
    local page=$OUT/frame-cost-page file
    mkdir -p "$page"
    for file in frame_cost.js frame_cost.wasm frame_cost.data; do
        ln -s "$WEB_BUILD/bench/$file" "$page/$file"
    done
    cat >"$page/index.html" <<PAGE
<!DOCTYPE html>
<title>frame_cost</title>
<canvas id="canvas" width="800" height="600"></canvas>
<script>
window.meadow = { stdout: "", status: null };
var Module = {
    canvas: document.getElementById("canvas"),
    print: (line) => { meadow.stdout += line + "\\n"; },
    printErr: (line) => { meadow.stdout += line + "\\n"; },
    onRuntimeInitialized: () => setTimeout(() => Module.callMain(["$RUNS"]), 0),
    onExit: (status) => { meadow.status = status; },
};
</script>
<script src="frame_cost.js"></script>
PAGE
}

# Chromium as the real-window tests start it, a fresh profile for every run.
measure_browser() {
    start_xvfb web 802x650
    local display
    display=$(cat "$OUT/web.display")
    game_folder "$OUT/web_fast" data 1
    game_folder "$OUT/web_paced" data "$SHIPPED_FRAME_MS"
    for _ in $(seq 1 "$RUNS"); do
        "$PYTHON" bench/browser_bench.py start "$display" "$SITE" "$OUT/web_fast" "$OUT/web.txt"
        "$PYTHON" bench/browser_bench.py cpu "$display" "$SITE" "$OUT/web_paced" "$OUT/web_cpu.txt"
    done
    frame_cost_page
    "$PYTHON" bench/browser_bench.py frame-cost "$display" "$OUT/frame-cost-page" "$RUNS" \
        "$OUT/web_frame.txt"
}
