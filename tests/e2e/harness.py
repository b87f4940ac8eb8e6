"""Real-window test harness: the game in Xvfb, driven through XTEST and read back from the
screen into numpy arrays.

A test file (python3 test_x.py GAME DATA_DIR) calls setup(), makes its games and hands its
list of steps to run(). Every Game has its own Xvfb and its own copy of DATA_DIR, so a step
may edit config.ini, default.ini or any picture. Waits poll a condition until a deadline,
which the factor SLOW stretches (a game under valgrind is slow). MEADOW_E2E_TARGET names
the build under test (sdl12-compat, wine: GAME is the Windows .exe, web: GAME is the
browser game's site), for checks that it cannot pass; targets.py starts each kind. A test
of two games may make one of them the Linux game, MEADOW_E2E_NATIVE_GAME. pixels.py looks
at screens and pictures; peer.py speaks the wire protocol in place of a game.
"""
import os, re, shutil, subprocess, sys, tempfile, time

import numpy as np
from PIL import Image
from Xlib import X, XK, display, error, protocol
from Xlib.ext import xtest

import targets
from pixels import crop, differing, setup_screen

TARGET = os.environ.get("MEADOW_E2E_TARGET", "")
NATIVE_GAME = os.environ.get("MEADOW_E2E_NATIVE_GAME")
PASSED_ON = ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "ASAN_SYMBOLIZER_PATH", "WINEPREFIX",
             "LD_LIBRARY_PATH", "PATH")
AUDIO_NOTICE = re.compile(r"^(\w+: )? *(You are using the SDL disk|Writing to file).*\n", re.M)
# What the sanitizer runtimes write: their ==PID== lines, UBSan's reports and the parts of a
# leak report without the prefix. A test comparing output would otherwise fail on a line
# it never meant to match and not say whose it is.
SANITIZER_LINE = re.compile(r"^(==\d+==|\w+Sanitizer:|SUMMARY: \w+Sanitizer|(Direct|Indirect) "
                            r"leak of |.*: runtime error: ).*", re.M)
SLOW = 1
GAME = DATA = WORK = None
GAMES = []
# The menu: entry k's pointer band is centred on entry_y(k), GAP_Y selects nothing, and
# the back button of every screen is under BACK.
ENTRY_X, GAP_Y, BACK = 400, 184, (100, 561)


def entry_y(k):
    return 165 + 40 * (k - 1)


def expect(ok, what, skip_on=()):
    """Fails the test with `what` unless ok; on the targets named by skip_on it only says so."""
    if TARGET and TARGET in ((skip_on,) if isinstance(skip_on, str) else skip_on):
        print(f"\nSKIP on {TARGET}: {what}")
    elif not ok:
        raise AssertionError(what)


def wait(condition, what, timeout=10, step=0.05):
    """Polls condition until it returns something true, which it returns."""
    deadline = time.monotonic() + timeout * SLOW
    while not (value := condition()):
        expect(time.monotonic() < deadline, f"{what} (after {timeout * SLOW} s)")
        time.sleep(step)
    return value


def append_values(path, values):
    """Adds KEY=value lines at the end of a settings file: the last line of a key wins (a
    selection line, e.g. currentlanguage, must come with the lines it chooses among)."""
    with open(path, "a", encoding="latin-1") as f:
        f.write("".join(f"{key}={value}\n" for key, value in values.items()))


class Game:
    """One game instance: its folder, its X server, its process and its outputs."""

    def __init__(self, name, config=None, theme=None, native=False):
        """native: the Linux game, whatever build the test is for."""
        self.name, self.dir, self.proc = name, os.path.join(WORK, name), None
        self.target = "native" if native or not TARGET else TARGET
        self.program = NATIVE_GAME if native and TARGET else GAME
        shutil.copytree(DATA, self.dir)
        append_values(self.path("config.ini"), config or {})
        append_values(self.path("default.ini"), theme or {})
        self.xvfb = subprocess.Popen(  # it tells the display it took on its output
            ["Xvfb", "-displayfd", "1", "-screen", "0", "%dx%dx24" % targets.SCREENS.get(
                self.target, (800, 600)), "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.PIPE, stderr=open(self.path("xvfb.log"), "w"))
        self.display_name = ":" + self.xvfb.stdout.readline().decode().strip()
        self.x = display.Display(self.display_name)
        self.root = self.x.screen().root
        GAMES.append(self)

    def path(self, name):
        return os.path.join(self.dir, name)

    def theme_file(self, key):
        """The path of a theme file, as default.ini names it."""
        with open(self.path("default.ini"), encoding="latin-1") as f:
            names = dict(line.split("=", 1) for line in f.read().splitlines() if "=" in line)
        return self.path(names["themepath"] + names[key])

    def picture(self, key):
        return np.asarray(Image.open(self.theme_file(key)).convert("RGB"), np.int16)

    def start(self, env=None, command=None, cwd=None, window=True, menu=False, play=True):
        """Starts the game; a page (the browser game) is started with its button unless play
        is False, when only the page is there."""
        environment = {key: os.environ[key] for key in PASSED_ON if key in os.environ}
        if TARGET == "sdl12-compat":  # SDL 2 unloads the X libraries it loaded, so their
            # leftovers cannot be told from ours; the classic build's runs check our leaks
            environment["ASAN_OPTIONS"] = environment.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        environment.update(HOME=self.dir, DISPLAY=self.display_name, SDL_VIDEODRIVER="x11",
                           SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=self.path("audio.raw"),
                           SDL_DISKAUDIODELAY="46")
        # A new start is a new game: the last page, ended or not, and a game still running
        # go first (two games would share a window, a display and a sound file).
        if self.proc and (self.target == "web" or not self.ended()):
            self.proc.kill()
            self.proc.wait(10)
        self.proc = targets.RUNS[self.target](self, command or [self.program],
                                              {**environment, **(env or {})}, cwd or self.dir)
        if self.target == "web":
            if not play:
                return wait(lambda: self.proc.state("phase") == "ready", "no page", 60)
            self.press_play()
        if window:  # a key pressed while the window maps can go unseen: wait for the splash
            wait(lambda: self.ended() or self.window() and self.on_splash(), "no splash", 30)
            self.expect_running("the game ended at start")
        if menu:
            self.enter_menu()

    def press_play(self):
        """The page has loaded the game: a click on its button starts it, as a player's does."""
        wait(lambda: self.proc.state("phase") == "ready", "the page did not load the game", 60)
        self.proc.probe_sounds()
        self.press_button("#play")  # a button acts when it is let go
        wait(lambda: self.proc.state("phase") != "ready", "Click to play did not start the game")

    def ended(self):
        return self.proc.poll() is not None

    def expect_running(self, what):
        expect(not self.ended(), f"{what} (the game ended with status {self.proc.poll()})")

    def expect_exit(self, status, what, timeout=10):
        wait(self.ended, f"{what}: the game still runs", timeout)
        expect(self.proc.poll() == status, f"{what}: status {self.proc.poll()}, not {status}")

    def output(self, stream="stderr"):
        """What the game wrote to stream, without the audio driver's notices."""
        return AUDIO_NOTICE.sub("", self.proc.output(stream) if self.proc else "")

    def stderr(self, stream="stderr"):
        """The game's own output; fails the test if a sanitizer runtime wrote into it."""
        text = self.output(stream)
        line = SANITIZER_LINE.search(text)
        name = {"stderr": "standard error", "stdout": "standard output"}[stream]
        expect(not line, f"a sanitizer runtime wrote into the game's {name} ({self.name}): "
               f"{line and line.group()}")
        return text

    def window(self):
        """The game's window once it shows: the only one on the screen."""
        try:
            return next((w for w in self.root.query_tree().children
                         if w.get_attributes().map_state == X.IsViewable), None)
        except error.XError:  # a window went away while it was asked
            return None

    def view(self):
        """What the player sees of the game: the window's title (Chromium gives it only in
        UTF-8) and the game's size in the window."""
        window = self.window()
        utf8 = window.get_full_property(self.x.intern_atom("_NET_WM_NAME"), 0)
        title = utf8.value.decode() if utf8 else window.get_wm_name()
        if self.target == "web":
            return title, *self.proc.origin()[2:]
        size = window.get_geometry()
        return title, size.width, size.height

    def placement(self):
        """Where the game's picture is on the screen, and how large: a page shows it below
        its title, and full screen it fits it to the screen."""
        if self.target == "web":
            return self.proc.origin()
        window = self.window() if self.target == "wine" else None
        if window is None:
            return 0, 0, 800, 600
        # Full screen, the window is the screen and SDL centres the picture in it.
        corner, size = self.root.translate_coords(window, 0, 0), window.get_geometry()
        return corner.x + (size.width - 800) // 2, corner.y + (size.height - 600) // 2, 800, 600

    def close(self):
        """Asks the window to close, as a window manager's close button does."""
        atom = self.x.intern_atom
        self.window().send_event(protocol.event.ClientMessage(
            window=self.window(), client_type=atom("WM_PROTOCOLS"),
            data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])), event_mask=0)
        self.x.sync()

    def shot(self):
        """The whole screen, read once, as rows x columns x RGB."""
        left, top, w, h = self.placement()
        data = self.root.get_image(left, top, w, h, X.ZPixmap, 0xFFFFFFFF).data
        image = np.frombuffer(data, np.uint8).reshape(h, w, 4)[:, :, 2::-1]
        if (w, h) != (800, 600):  # as the player sees it, at the game's own size
            image = np.asarray(Image.fromarray(image).resize((800, 600), Image.NEAREST))
        return image.astype(np.int16)

    def fake(self, down, keys=(), button=None):
        """Presses or releases keys (modifiers first down, last up) or a mouse button."""
        inputs = [(X.KeyPress, self.x.keysym_to_keycode(XK.string_to_keysym(key))) for key in keys]
        inputs += [(X.ButtonPress, button)] if button else []
        for kind, detail in inputs if down else reversed(inputs):
            xtest.fake_input(self.x, kind if down else kind + 1, detail)  # a release is press + 1
        self.x.sync()

    def hold(self, hold=0.15, until=None, what="", keys=(), button=None):
        """Holds keys or a button for hold seconds and, if given, until the condition holds
        (the game polls its input: a short press can fall between two of its passes).
        Returns the condition's value."""
        self.fake(True, keys, button)
        try:
            time.sleep(hold)
            return wait(until, what) if until else None
        finally:
            self.fake(False, keys, button)
            time.sleep(0.05)

    def key(self, combo, hold=0.15, until=None, what=""):
        """Holds a key or a combination such as Control_L+Left."""
        return self.hold(hold, until, what, keys=combo.split("+"))

    def move(self, x, y):
        left, top, w, h = self.placement()
        xtest.fake_input(self.x, X.MotionNotify, x=left + x * w // 800, y=top + y * h // 600)
        self.x.sync()
        time.sleep(0.1)

    def press_button(self, selector):
        """Clicks a button of the page around the browser game."""
        x, y = self.proc.centre_of(selector)
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()
        time.sleep(0.1)
        self.hold(0.15, button=1)

    def click(self, x, y, until=None, what=""):
        self.move(x, y)
        return self.hold(0.15, until, what, button=1)

    def on_splash(self):
        """The theme's splash picture fills the screen."""
        return differing(self.shot(), self.picture("splashscreen")) < 800 * 600 // 100

    def menu_shown(self):
        """Nothing drawn left of the entries, the labels drawn."""
        image = self.shot()
        return crop(image, (0, 90, 200, 120)).max() == 0 and crop(image, (225, 60, 400, 440)).max()

    def in_match(self):
        """Between the HUD lines a match shows its background, crossed by shots only."""
        image, midfield = self.shot(), (0, 255, 800, 85)
        return crop(image, midfield).max() > 0 and \
            differing(image, self.picture("background"), midfield) < 800 * 85 // 10

    def enter_menu(self):
        """Ends the splash with a click beside the entries. Passes that follow the pointer
        onto an entry and off again have seen the button up: the click lock is gone."""
        self.click(10, 590, until=lambda: not self.on_splash(), what="a click left no splash")
        self.follow_pointer()

    def follow_pointer(self):
        """The highlight bar shows with the pointer on entry 2 and not on a gap row."""
        for y, bar in ((entry_y(2), True), (GAP_Y, False)):
            self.move(ENTRY_X, y)
            wait(lambda: (crop(self.shot(), (220, 183, 420, 3)).max() > 0) == bar, f"bar at y {y}")

    def leave_with_escape(self, what="ESC did not bring the menu back"):
        self.key("Escape", until=self.menu_shown, what=what)
        self.expect_running(what)

    def quit_with_escape(self):
        self.move(*BACK)
        self.key("Escape", until=self.ended, what="a held ESC did not quit")
        self.expect_exit(0, "ESC on the menu")

    def expect_back(self, mark, pattern, what):
        """The game is back in its menu, and all it wrote since mark matches pattern."""
        complete = lambda: re.fullmatch(pattern, self.stderr()[mark:])
        wait(complete, f"{what}: the {self.name} did not write {pattern!r}")
        wait(self.menu_shown, f"{what}: the {self.name} is not back in its menu")
        expect(complete(), f"{what}: the {self.name} wrote {self.stderr()[mark:]!r}")

    def host(self):
        self.click(ENTRY_X, entry_y(3), lambda: setup_screen(self.shot(), 200), "no waiting screen")

    def join(self, address, connected):
        """Types the server's address on the address screen and holds Return until
        connected() holds; returns its value."""
        self.click(ENTRY_X, entry_y(4), lambda: setup_screen(self.shot(), 100), "no address screen")
        # The typed line blinks a cursor. Without the cursor's rows it changes only with
        # the text; its blinking shows that the game goes on making passes.
        line = lambda: crop(self.shot(), (0, 190, 800, 50))

        def blink(times):
            looks = [line()]
            wait(lambda: ((now := line()) != looks[-1]).any() and looks.append(now)
                 or len(looks) > times, "the cursor does not blink")
            return looks

        looks = blink(1)
        text = lambda: np.delete(line(), np.flatnonzero((looks[0] != looks[1]).any(axis=(1, 2))), 0)

        def press(name):
            # A key acts when a pass sees it down after a pass that saw every key up. Two
            # blinks prove a whole pass since the last release, so this press counts; it
            # is held until the text shows it.
            blink(2)
            before = text()
            self.key(name, until=lambda: (text() != before).any(), what=f"{name} did not show")

        for _ in range(12):  # extra ones do nothing, lost ones are made up one by one
            self.key("BackSpace", 0.1)
        while blink(2) and text().max() > 0:
            press("BackSpace")
        for character in address:
            press({".": "period"}.get(character, character))
        blink(2)
        return self.key("Return", until=connected, what="Return did not connect")

    def audio_size(self):
        return os.path.getsize(self.path("audio.raw")) // 4 * 4

    def sound_mark(self):
        """Where the sound so far ends: heard(mark) then tells of what came after. A page's
        sound cannot be read back: there, a mark counts the sounds the page started."""
        return self.proc.sounds() if self.target == "web" else self.audio_size()

    def heard(self, mark=0):
        """Whether any sound came after the mark."""
        return self.proc.sounds() > mark if self.target == "web" else self.loud(mark) > 0

    def loud(self, since=0):
        """How many 4-byte words of the sound output from byte `since` on differ from its
        silence, whatever sample format the driver writes: silence is the most frequent
        word, since sounds vary and silence does not."""
        with open(self.path("audio.raw"), "rb") as f:
            words = np.frombuffer(f.read()[:self.audio_size()], np.uint32)
        values, counts = np.unique(words, return_counts=True)
        return int((words[since // 4:] != values[np.argmax(counts)]).sum()) if words.size else 0


def attempt(action):
    """The socket call's result, or None when it fails or times out."""
    try:
        return action()
    except OSError:
        return None


def setup(network=False):
    """Takes GAME and DATA from the command line and makes the folder for the instances.
    A network test runs again in a network namespace of its own (as root), so that
    nothing else on the machine can hold the game's port."""
    global GAME, DATA, WORK
    if network and os.geteuid() == 0 and "MEADOW_E2E_NETNS" not in os.environ:
        os.environ["MEADOW_E2E_NETNS"] = "1"
        os.execvp("unshare", ["unshare", "-n", "sh", "-c", 'ip link set lo up && exec "$@"', "sh",
                              sys.executable] + sys.argv)
    GAME, DATA = (os.path.abspath(arg) for arg in sys.argv[1:3])
    GAME = os.environ.get("MEADOW_E2E_GAME", GAME)  # another target's build of the game
    WORK = tempfile.mkdtemp(prefix="meadow-e2e-")


def run(steps):
    """Runs the steps in order until the first failure."""
    try:
        for step in steps:
            print(f"-- {step.__doc__}", flush=True)
            step()
        print("passed")
    except AssertionError as failure:
        print(f"FAIL: {failure}")
        for game in GAMES:
            print(f"--- stderr of {game.name}:\n{game.output()[-2000:]}")
            Image.fromarray(game.shot().astype(np.uint8)).save(game.path("failure.png"))
        sys.exit(1)
    finally:
        for proc in [game.proc for game in GAMES if game.proc] + [game.xvfb for game in GAMES]:
            proc.kill()
        if not os.environ.get("E2E_KEEP"):
            shutil.rmtree(WORK, ignore_errors=True)
