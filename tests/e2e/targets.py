"""The builds the real-window tests run, each started on a game's own X server.

  native   the Linux game, a process of its own (on sdl12-compat too, by LD_LIBRARY_PATH)
  wine     the Windows game under Wine: a copy of the .exe and its DLLs in the game's
           folder, where SDL writes stdout.txt and stderr.txt
  web      the browser game: its site served from the game's folder, with that folder's
           files packed as the site packs them, in Chromium in app mode, watched through
           the DevTools protocol

A run has the shape of a process (pid, poll, wait, kill) and says what the game wrote.
"""
import http.server, json, os, shutil, subprocess, sys, threading, time, urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "web"))
import pack_data  # noqa: E402

# What the harness itself writes into a game's folder: never one of the game's files.
HARNESS_FILES = {"stdout", "stderr", "xvfb.log", "audio.raw", "failure.png", "wine.log", "wineprefix",
                 "stdout.txt", "stderr.txt", "site", "chromium", "chromium.log", "log"}
# The X screen of a game. Wine places a window where a Windows frame would have it, a few
# pixels in from the corner. A browser's window is the page's size, 800 x 648 (its title
# bar over the game); Chromium keeps a window a pixel inside the screen.
SCREENS = {"native": (800, 600), "wine": (810, 630), "web": (802, 650)}
PAGE = (800, 648)


class NativeRun:
    """The Linux game, started as the command says."""

    def __init__(self, game, command, env, cwd):
        self.game = game
        with open(game.path("stdout"), "w") as out, open(game.path("stderr"), "w") as err:
            self.proc = subprocess.Popen(command, cwd=cwd, stdout=out, stderr=err, env=env)
        self.pid = self.proc.pid

    def poll(self):
        return self.proc.poll()

    def wait(self, timeout=None):
        return self.proc.wait(timeout)

    def kill(self):
        self.proc.kill()

    def output(self, stream):
        with open(self.game.path(stream), encoding="latin-1") as f:
            return f.read()


def own_wine_prefix(master, prefix):
    """A Wine prefix for one game, linked file by file to the master: one wineserver serves
    one game, so each has its own foreground window and desktop, as two computers do. The
    files Wine rewrites in place are copies."""
    if not os.path.isdir(prefix):
        subprocess.run(["cp", "-al", master, prefix], check=True)
        for name in os.listdir(prefix):
            if name.endswith(".reg") or name.startswith("."):
                path = os.path.join(prefix, name)
                shutil.copy(path, path + ".copy")
                os.replace(path + ".copy", path)
    return prefix


class WineRun(NativeRun):
    """The Windows game under Wine, from a copy of its folder's .exe and DLLs."""

    def __init__(self, game, command, env, cwd):
        program = command.index(game.program)
        folder = os.path.dirname(game.program)
        for name in os.listdir(folder):
            if name.lower().endswith((".exe", ".dll")):
                shutil.copy(os.path.join(folder, name), game.dir)
        for name in ("stdout.txt", "stderr.txt"):  # SDL writes them afresh at each start
            if os.path.exists(game.path(name)):
                os.remove(game.path(name))
        exe = os.path.join(game.dir, os.path.basename(game.program))
        env = {**env, "SDL_VIDEODRIVER": env.get("SDL_VIDEODRIVER", "x11").replace("x11", "windib"),
               "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml=",
               "WINEPREFIX": own_wine_prefix(env["WINEPREFIX"], game.path("wineprefix"))}
        self.prefix_env = {**os.environ, "WINEPREFIX": env["WINEPREFIX"]}
        if "SDL_DISKAUDIOFILE" in env:  # a path the Windows game opens on Wine's drive Z:
            env["SDL_DISKAUDIOFILE"] = "Z:" + env["SDL_DISKAUDIOFILE"].replace("/", "\\")
        with open(game.path("wine.log"), "w") as log:
            self.proc = subprocess.Popen(["wine", exe] + command[program + 1:], cwd=cwd,
                                         stdout=log, stderr=log, env=env)
        self.game, self.pid = game, self.proc.pid

    def kill(self):
        self.proc.kill()
        subprocess.run(["wineserver", "-k"], env=self.prefix_env, check=False)

    def output(self, stream):
        """SDL's files, in text mode: every line ends in CR LF there."""
        path = self.game.path(stream + ".txt")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("latin-1").replace("\r\n", "\n")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class DevTools:
    """One page of a Chromium, spoken to over its DevTools protocol."""

    def __init__(self, profile):
        import websocket  # python3-websocket
        port_file = os.path.join(profile, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        while not os.path.exists(port_file) or not open(port_file).read().strip():
            if time.monotonic() > deadline:
                raise AssertionError("Chromium opened no DevTools port")
            time.sleep(0.05)
        port = open(port_file).read().split()[0]
        pages = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json"))
        page = next(p for p in pages if p["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30,
                                                  suppress_origin=True)
        self.serial = 0

    def call(self, method, **params):
        self.serial += 1
        self.socket.send(json.dumps({"id": self.serial, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == self.serial:
                if "error" in answer:
                    raise AssertionError(f"{method}: {answer['error']}")
                return answer.get("result", {})

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        return result.get("result", {}).get("value")

    def close(self):
        self.socket.close()


# Counts the sounds the page starts and the most times one plays at once: what a test can
# know of a browser's sound.
SOUND_PROBE = """
window.meadowSounds = 0;
window.meadowMostOfOneSound = 0;
(() => {
    const playing = new Map();  // per decoded sound: its nodes that play now
    const done = node => {
        if (node.meadowPlaying) {
            node.meadowPlaying = false;
            playing.set(node.buffer, playing.get(node.buffer) - 1);
        }
    };
    const start = AudioBufferSourceNode.prototype.start;
    const stop = AudioBufferSourceNode.prototype.stop;
    AudioBufferSourceNode.prototype.start = function (...args) {
        window.meadowSounds += 1;
        const now = (playing.get(this.buffer) || 0) + 1;
        playing.set(this.buffer, now);
        window.meadowMostOfOneSound = Math.max(window.meadowMostOfOneSound, now);
        this.meadowPlaying = true;
        this.addEventListener("ended", () => done(this));
        return start.apply(this, args);
    };
    AudioBufferSourceNode.prototype.stop = function (...args) {
        done(this);  // "ended" comes a task later, maybe after the next start
        return stop.apply(this, args);
    };
})();
"""


class BrowserRun:
    """The browser game in Chromium in app mode, served from the game's folder."""

    def __init__(self, game, command, env, cwd):
        self.game, self.status, self.placement = game, None, [0, 0, 800, 600]
        site = game.path("site")
        shutil.rmtree(site, ignore_errors=True)
        os.mkdir(site)
        for name in os.listdir(game.program):
            if name != "game-data.bin":
                os.symlink(os.path.join(game.program, name), os.path.join(site, name))
        pack_data.pack(game.dir, os.path.join(site, "game-data.bin"), HARNESS_FILES)
        handler = lambda *a: QuietHandler(*a, directory=site)  # noqa: E731
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        words = command[command.index(game.program) + 1:]
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/index.html" + \
            ("?" + "&".join(words) if words else "")
        profile = game.path("chromium")
        shutil.rmtree(profile, ignore_errors=True)
        width, height = PAGE
        with open(game.path("chromium.log"), "w") as log:
            self.proc = subprocess.Popen(
                ["chromium", "--no-sandbox", "--test-type", f"--app={self.url}", "--hide-scrollbars",
                 "--window-position=0,0", f"--window-size={width},{height}",
                 f"--user-data-dir={profile}", "--no-first-run", "--no-default-browser-check",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-quic", "--disable-features=Translate",
                 "--password-store=basic", "--remote-debugging-port=0"],
                stdout=log, stderr=log, env=env)
        self.pid = self.proc.pid
        self.devtools = DevTools(profile)

    def probe_sounds(self):
        """Counts the sounds the page starts from now on; no sound starts before the game."""
        self.devtools.evaluate(SOUND_PROBE)

    def state(self, expression):
        """A value of the page's meadow record (window.meadow), or None once it is gone."""
        try:
            return self.devtools.evaluate(f"window.meadow && window.meadow.{expression}")
        except Exception:  # the page or the browser went away
            return None

    def poll(self):
        if self.proc.poll() is not None and self.status is None:
            self.status = -self.proc.poll() or 1  # the browser itself ended
        return self.status if self.status is not None else self.state("status")

    def wait(self, timeout=None):
        deadline = time.monotonic() + (timeout or 3600)
        while self.poll() is None and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.poll()

    def kill(self):
        self.proc.kill()
        self.server.shutdown()

    def output(self, stream):
        return self.state(stream) or ""

    def origin(self):
        """Where the page shows the game's canvas on the screen, and how large; where it
        was last when the page is gone."""
        try:
            where = self.devtools.evaluate(
                "(() => { const r = document.getElementById('shown').getBoundingClientRect();"
                " return [screenX + r.left, screenY + outerHeight - innerHeight + r.top,"
                " r.width, r.height]; })()")
            self.placement = [round(value) for value in where]
        except Exception:  # the page or the browser went away
            pass
        return self.placement

    def centre_of(self, selector):
        """Where on the screen the middle of a page element is, scrolled into sight."""
        return [round(value) for value in self.devtools.evaluate(
            f"(() => {{ const e = document.querySelector('{selector}');"
            " e.scrollIntoView({block: 'nearest'}); const r = e.getBoundingClientRect();"
            " return [screenX + r.left + r.width / 2,"
            " screenY + outerHeight - innerHeight + r.top + r.height / 2]; })()")]

    def sounds(self):
        return self.devtools.evaluate("window.meadowSounds") or 0

    def most_of_one_sound(self):
        """The most times one sound played at once: each sound has a channel of its own,
        where a new start cuts the last."""
        return self.devtools.evaluate("window.meadowMostOfOneSound") or 0


RUNS = {"native": NativeRun, "sdl12-compat": NativeRun, "": NativeRun, "wine": WineRun,
        "web": BrowserRun}
