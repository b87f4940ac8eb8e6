// The page around the browser build: loads the game and its files, starts it on the first
// click (a browser plays no sound before one), shows its frames and its messages, keeps
// the player's settings and says when the game has ended.
"use strict";

(function () {
    const SETTINGS_KEY = "meadowgunner.settings";
    const DATA_FILE = "game-data.bin";
    const WASM_FILE = "meadowgunner.wasm";
    const GAME_FOLDER = "/game";

    const page = {
        stage: document.getElementById("stage"),
        game: document.getElementById("game"),
        shown: document.getElementById("shown"),
        overlay: document.getElementById("overlay"),
        loading: document.getElementById("loading"),
        loadingText: document.getElementById("loading-text"),
        progress: document.getElementById("progress"),
        play: document.getElementById("play"),
        ended: document.getElementById("ended"),
        endedText: document.getElementById("ended-text"),
        endedWhy: document.getElementById("ended-why"),
        messages: document.getElementById("messages"),
        settings: document.getElementById("settings"),
    };
    const shownContext = page.shown.getContext("2d");

    // What the game wrote and how it ended, as text of Latin-1 bytes (the game's own
    // encoding); read by the tests as well.
    const state = { stdout: "", stderr: "", status: null, phase: "loading", frames: 0 };
    window.meadow = state;

    // The words of the address's query string are the game's arguments: ?/f is /f.
    function gameArguments() {
        const query = location.search.replace(/^\?/, "");
        return query.split(/[&+]/).filter((word) => word !== "").map(decodeURIComponent);
    }

    // Output arrives a byte at a time; the panel is brought up to date once per frame.
    let pendingOutput = [];
    function writeOutput(stream, byte) {
        const character = String.fromCharCode(byte);
        state[stream] += character;
        pendingOutput.push([stream, character]);
        if (pendingOutput.length === 1) {
            requestAnimationFrame(flushOutput);
        }
    }
    function flushOutput() {
        let run = null;
        for (const [stream, character] of pendingOutput) {
            if (!run || run.className !== stream) {
                run = document.createElement("span");
                run.className = stream;
                page.messages.appendChild(run);
            }
            run.textContent += character;
        }
        pendingOutput = [];
        page.messages.scrollTop = page.messages.scrollHeight;
    }

    // Files: one gzip stream of "path\nsize\n" and the bytes, for every file of data/.
    async function fetchWithProgress(url, done, total) {
        const response = await fetch(url);
        if (!response.ok) {
            throw new Error(url + ": " + response.status + " " + response.statusText);
        }
        const chunks = [];
        const reader = response.body.getReader();
        for (;;) {
            const { done: finished, value } = await reader.read();
            if (finished) break;
            chunks.push(value);
            done.bytes += value.length;
            page.progress.value = total ? Math.min(done.bytes / total, 1) : 0;
        }
        return new Blob(chunks);
    }

    async function unpackFiles(blob) {
        const stream = blob.stream().pipeThrough(new DecompressionStream("gzip"));
        const bytes = new Uint8Array(await new Response(stream).arrayBuffer());
        const files = [];
        let at = 0;
        const line = () => {
            const end = bytes.indexOf(10, at);
            const text = String.fromCharCode(...bytes.subarray(at, end));
            at = end + 1;
            return text;
        };
        while (at < bytes.length) {
            const path = line();
            const size = Number(line());
            files.push([path, bytes.subarray(at, at + size)]);
            at += size;
        }
        return files;
    }

    function writeFiles(files) {
        FS.mkdir(GAME_FOLDER);
        for (const [path, contents] of files) {
            const parts = path.split("/");
            let folder = GAME_FOLDER;
            for (const part of parts.slice(0, -1)) {
                folder += "/" + part;
                if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
            }
            FS.writeFile(GAME_FOLDER + "/" + path, contents);
        }
    }

    // Settings: what the form holds, written into config.ini before the game starts.
    function savedSettings() {
        try {
            return JSON.parse(localStorage.getItem(SETTINGS_KEY)) || {};
        } catch (error) {
            return {};
        }
    }

    function fieldsOfForm() {
        return Array.from(page.settings.elements).filter((field) => field.name);
    }

    function configValue(config, key) {
        const match = new RegExp("^" + key + "=(.*)$", "m").exec(config);
        return match ? match[1].trim() : "";
    }

    function showSettings(config) {
        const saved = savedSettings();
        for (const field of fieldsOfForm()) {
            field.dataset.shipped = configValue(config, field.name);
            field.value = field.name in saved ? saved[field.name] : field.dataset.shipped;
        }
    }

    function storeSettings() {
        const chosen = {};
        for (const field of fieldsOfForm()) {
            if (field.value !== field.dataset.shipped && field.checkValidity()) {
                chosen[field.name] = field.value;
            }
        }
        localStorage.setItem(SETTINGS_KEY, JSON.stringify(chosen));
    }

    // Every line of a key takes the chosen value, so the file keeps its order and comments.
    function configWithSettings(config) {
        for (const [key, value] of Object.entries(savedSettings())) {
            const line = new RegExp("^" + key + "=.*$", "gm");
            const wanted = key + "=" + String(value).replace(/[^0-9]/g, "");
            config = line.test(config) ? config.replace(line, wanted) : config + wanted + "\n";
        }
        return config;
    }

    // The shipped config.ini, or "" when the game's files have none.
    function readConfig() {
        const path = GAME_FOLDER + "/config.ini";
        if (!FS.analyzePath(path).exists) return "";
        return new TextDecoder("latin1").decode(FS.readFile(path));
    }

    // Full screen, from the button or from /f: the stage fills the screen, and Escape
    // stays the game's key where the browser lets a page keep it.
    function goFullscreen() {
        if (document.fullscreenElement) return;
        page.stage.requestFullscreen().then(() => {
            if (navigator.keyboard && navigator.keyboard.lock) {
                navigator.keyboard.lock(["Escape"]).catch(() => {});
            }
        }).catch(() => {});
    }

    function toggleFullscreen() {
        if (document.fullscreenElement) {
            document.exitFullscreen();
        } else {
            goFullscreen();
        }
    }

    function showOverlay(part) {
        page.overlay.hidden = false;
        for (const element of [page.loading, page.play, page.ended]) {
            element.hidden = element !== part;
        }
    }

    function explainEnd(status) {
        if (status === 2 && /^1 SDLNet_TCP_Open/m.test(state.stderr)) {
            return "A browser cannot host a network game: a web page may not accept " +
                "connections from other computers. Let the other player host on a desktop " +
                "computer, with the WebSocket bridge beside the game, and choose Join Net " +
                "Game here.";
        }
        if (status === 2) {
            return "The network game could not be set up; the messages below say why.";
        }
        if (status !== 0) {
            return "The messages below say what went wrong.";
        }
        return "";
    }

    function gameEnded(status) {
        state.status = status & 255;  // as a desktop shell reports it
        state.phase = "ended";
        if (document.fullscreenElement) document.exitFullscreen();
        page.endedText.textContent = "Meadowgunner has ended (status " + state.status + ").";
        page.endedWhy.textContent = explainEnd(state.status);
        showOverlay(page.ended);
    }

    function gameFailed(what) {
        state.status = 1;
        state.phase = "ended";
        page.endedText.textContent = "Meadowgunner stopped with an error.";
        page.endedWhy.textContent = String(what);
        showOverlay(page.ended);
    }

    function startGame() {
        // Without settings of the player's the game reads its files as they are.
        if (Object.keys(savedSettings()).length > 0) {
            FS.writeFile(GAME_FOLDER + "/config.ini", configWithSettings(readConfig()));
        }
        FS.chdir(GAME_FOLDER);
        page.overlay.hidden = true;
        page.settings.hidden = true;
        document.activeElement.blur();
        state.phase = "running";
        Module.callMain(gameArguments());
    }

    window.Module = {
        canvas: page.game,
        noInitialRun: true,
        stdout: (byte) => writeOutput("stdout", byte),
        stderr: (byte) => writeOutput("stderr", byte),
        // The game shows a frame: only finished frames reach the player.
        showFrame() {
            shownContext.drawImage(page.game, 0, 0);
            state.frames += 1;
        },
        goFullscreen,
        onExit: gameEnded,
        onAbort: gameFailed,
        preRun: [],
    };

    async function load() {
        try {
            const sizes = await Promise.all([DATA_FILE, WASM_FILE].map(async (url) => {
                const head = await fetch(url, { method: "HEAD" });
                return Number(head.headers.get("Content-Length")) || 0;
            }));
            const done = { bytes: 0 };
            const total = sizes[0] + sizes[1];
            const [data, wasm] = await Promise.all([
                fetchWithProgress(DATA_FILE, done, total),
                fetchWithProgress(WASM_FILE, done, total),
            ]);
            const files = await unpackFiles(data);
            Module.wasmBinary = await wasm.arrayBuffer();
            Module.preRun.push(() => writeFiles(files));
            Module.onRuntimeInitialized = () => {
                showSettings(readConfig());
                state.phase = "ready";
                showOverlay(page.play);
                page.play.focus();
            };
            const script = document.createElement("script");
            script.src = "meadowgunner.js";
            script.onerror = () => gameFailed("meadowgunner.js could not be loaded.");
            document.body.appendChild(script);
        } catch (error) {
            page.loadingText.textContent = "The game could not be loaded: " + error.message;
        }
    }

    page.play.addEventListener("click", startGame);
    document.getElementById("again").addEventListener("click", () => location.reload());
    document.getElementById("fullscreen").addEventListener("click", toggleFullscreen);
    document.getElementById("settings-toggle").addEventListener("click", (event) => {
        page.settings.hidden = !page.settings.hidden;
        event.target.setAttribute("aria-expanded", String(!page.settings.hidden));
    });
    page.settings.addEventListener("change", storeSettings);
    document.getElementById("settings-reset").addEventListener("click", () => {
        localStorage.removeItem(SETTINGS_KEY);
        for (const field of fieldsOfForm()) field.value = field.dataset.shipped;
    });
    showOverlay(page.loading);
    load();
})();
