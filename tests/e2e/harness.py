"""Real-window test harness: the game in Xvfb, driven through XTEST and read back from the
screen into numpy arrays.

A test file (python3 test_x.py GAME DATA_DIR) calls setup(), makes its games and hands
its list of steps to run().
Every Game gets its own Xvfb server and its own copy of DATA_DIR, so a step may edit
config.ini, default.ini or any picture. Waits poll a condition against a deadline; the
factor SLOW stretches every deadline (a game under valgrind is slow).
MEADOW_E2E_TARGET names the build under test (e.g. sdl12-compat), for checks that the
library itself cannot pass.
"""
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image
from Xlib import X, XK, display, error, protocol
from Xlib.ext import xtest

TARGET = os.environ.get("MEADOW_E2E_TARGET", "")
PASSED_THROUGH = ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "LD_LIBRARY_PATH", "PATH", "HOME")
KEY_NAMES = {"ctrl": "Control_L", "shift": "Shift_L", ".": "period"}
SDL_NOTICE = re.compile(r"^(WARNING: |CRITICAL: )?(You are using the SDL disk.*| *Writing to file \[.*\]\.)\n",
                        re.M)
SLOW = 1.0
GAME = DATA = WORK = None
GAMES = []

# The menu: entry k's pointer band is centred on entry_y(k); nothing is drawn left of
# the entries, and the back button of every screen sits at BACK.
ENTRY_X = 400
BACK = (100, 561)
GAP_Y = 184


def entry_y(k):
    return 165 + 40 * (k - 1)


class Failure(Exception):
    pass


def expect(ok, what, skip_on=None):
    """Fails the test with `what` unless ok; on the target named by skip_on it only reports."""
    if skip_on is not None and skip_on == TARGET:
        print(f"SKIP on {TARGET}: {what}")
    elif not ok:
        raise Failure(what)


def wait(condition, what, timeout=10.0, step=0.05):
    """Polls condition until it returns something true, which it returns; fails after timeout."""
    deadline = time.monotonic() + timeout * SLOW
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what} (after {timeout * SLOW:.0f} s)")
        time.sleep(step)


def crop(image, box):
    x, y, w, h = box
    return image[y:y + h, x:x + w]


def differing(a, b, box=(0, 0, 800, 600), tolerance=8):
    """Number of pixels in box whose colour differs between two screens or pictures."""
    return int((np.abs(crop(a, box) - crop(b, box)).max(axis=2) > tolerance).sum())


def left_edge(image, reference, y, h):
    """Leftmost column of rows y..y+h-1 that differs from reference, or None."""
    columns = np.flatnonzero((np.abs(image[y:y + h] - reference[y:y + h]).max(axis=2) > 24).any(axis=0))
    return int(columns[0]) if columns.size else None


def in_menu(image):
    return crop(image, (0, 90, 200, 120)).max() == 0 and crop(image, (225, 60, 400, 440)).max() > 0


def setup_screen(image, line_y):
    """A network set-up screen: nothing above y 95, a line of text at line_y."""
    return crop(image, (0, 0, 800, 95)).max() == 0 and crop(image, (30, line_y, 700, 32)).max() > 0


def piece_at(image, background, picture, x, y):
    """Whether a keyed picture (its top-left colour transparent) is drawn at (x, y)."""
    h, w = picture.shape[:2]
    expected = background[y:y + h, x:x + w].copy()
    opaque = (picture != picture[0, 0]).any(axis=2)
    expected[opaque] = picture[opaque]
    return differing(image[y:y + h, x:x + w], expected, (0, 0, w, h)) < w * h // 50


def load_picture(path):
    return np.asarray(Image.open(path).convert("RGB"), dtype=np.int16)


def set_values(path, values):
    """Replaces every KEY= line of a settings file, or adds the line at the top, so a
    selection line still precedes the lines it chooses among."""
    with open(path, encoding="latin-1") as f:
        lines = f.read().splitlines()
    for key, value in values.items():
        found = [i for i, line in enumerate(lines) if line.startswith(key + "=")]
        for i in found:
            lines[i] = f"{key}={value}"
        if not found:
            lines.insert(0, f"{key}={value}")
    with open(path, "w", encoding="latin-1") as f:
        f.write("\n".join(lines) + "\n")


def start_xvfb(log):
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=log)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            raise Failure("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return server, ":" + number.decode().strip()


class Game:
    """One game instance: its folder, its X server, its process and its outputs."""

    def __init__(self, name, config=None, theme=None):
        self.name = name
        self.dir = os.path.join(WORK, name)
        shutil.copytree(DATA, self.dir)
        set_values(self.path("config.ini"), config or {})
        set_values(self.path("default.ini"), theme or {})
        self.audio_file = self.path("audio.raw")
        self.xvfb, self.display_name = start_xvfb(open(self.path("xvfb.log"), "w"))
        self.x = display.Display(self.display_name)
        self.root = self.x.screen().root
        self.proc = None
        GAMES.append(self)

    def path(self, name):
        return os.path.join(self.dir, name)

    def theme_path(self, key):
        with open(self.path("default.ini"), encoding="latin-1") as f:
            values = dict(line.split("=", 1) for line in f.read().splitlines() if "=" in line)
        return self.path(values["themepath"] + values[key])

    def picture(self, key):
        return load_picture(self.theme_path(key))

    def start(self, *args, env=None, command=None, cwd=None, window=True):
        environment = {k: os.environ[k] for k in PASSED_THROUGH if k in os.environ}
        environment.update(DISPLAY=self.display_name, SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="disk",
                           SDL_DISKAUDIOFILE=self.audio_file, SDL_DISKAUDIODELAY="46")
        environment.update(env or {})
        with open(self.path("stdout"), "w") as out, open(self.path("stderr"), "w") as err:
            self.proc = subprocess.Popen((command or [GAME]) + list(args), cwd=cwd or self.dir,
                                         env=environment, stdout=out, stderr=err)
        if window:
            wait(lambda: self.window() or self.ended(), "no window", 30)
            expect(self.running(), f"the game ended at start with status {self.proc.poll()}")

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def ended(self):
        return not self.running()

    def wait_exit(self, timeout=10):
        """The exit status, or None while the game still runs after timeout."""
        try:
            return self.proc.wait(timeout * SLOW)
        except subprocess.TimeoutExpired:
            return None

    def expect_exit(self, status, what, timeout=10):
        got = self.wait_exit(timeout)
        expect(got == status, f"{what}: status {got}, expected {status}")

    def expect_running(self, what):
        expect(self.running(), f"{what} (the game ended with status {self.proc.poll()})")

    def output(self, name):
        with open(self.path(name), encoding="latin-1") as f:
            return f.read()

    def stderr(self):
        """The game's own error output, without the audio driver's notices."""
        return SDL_NOTICE.sub("", self.output("stderr"))

    def wrote(self, pattern):
        return re.search(pattern, self.stderr(), re.M)

    def window(self):
        try:
            for child in self.root.query_tree().children:
                if "Meadowgunner" in (child.get_wm_name() or ""):
                    return child
        except error.XError:
            pass
        return None

    def close(self):
        """Asks the window to close, as a window manager's close button does."""
        window = self.window()
        expect(window is not None, "no window to close")
        atom = self.x.intern_atom
        event = protocol.event.ClientMessage(window=window, client_type=atom("WM_PROTOCOLS"),
                                             data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=0)
        self.x.sync()

    def shot(self):
        """The whole screen, read once, as rows x columns x RGB."""
        data = self.root.get_image(0, 0, 800, 600, X.ZPixmap, 0xFFFFFFFF).data
        return np.frombuffer(data, np.uint8).reshape(600, 800, 4)[:, :, 2::-1].astype(np.int16)

    def press(self, combo, down=True):
        codes = [self.x.keysym_to_keycode(XK.string_to_keysym(KEY_NAMES.get(k, k))) for k in combo.split("+")]
        # Modifiers go down first and come up last, so no frame sees the bare key.
        for code in codes if down else reversed(codes):
            xtest.fake_input(self.x, X.KeyPress if down else X.KeyRelease, code)
        self.x.sync()

    def press_button(self, down=True, button=1):
        xtest.fake_input(self.x, X.ButtonPress if down else X.ButtonRelease, button)
        self.x.sync()

    def _hold(self, release, hold, until, what, timeout):
        try:
            time.sleep(hold)
            return wait(until, what, timeout) if until else None
        finally:
            release()
            time.sleep(0.05)

    def key(self, combo, hold=0.15, until=None, what="", timeout=10):
        """Holds a key (or a combination such as ctrl+Left) for hold seconds and, if given,
        until the condition holds; returns the condition's value."""
        self.press(combo)
        return self._hold(lambda: self.press(combo, False), hold, until, what, timeout)


    def move(self, x, y):
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()
        time.sleep(0.1)

    def click(self, x, y, hold=0.15, until=None, what="", timeout=10, button=1):
        self.move(x, y)
        self.press_button(True, button)
        return self._hold(lambda: self.press_button(False, button), hold, until, what, timeout)

    def on_splash(self):
        splash = self.picture("splashscreen")
        h, w = splash.shape[:2]
        box = ((800 - w) // 2, (600 - h) // 2, w, h)
        return differing(crop(self.shot(), box), splash, (0, 0, w, h)) < w * h // 100

    def menu_shown(self):
        return in_menu(self.shot())

    def in_match(self):
        """Between the two HUD lines a match shows its background, crossed only by shots
        and the odd explosion."""
        image, midfield = self.shot(), (0, 255, 800, 85)
        return differing(image, self.picture("background"), midfield) < 800 * 85 // 10 and \
            crop(image, midfield).max() > 0

    def enter_menu(self):
        """Waits for the splash, which a click before the theme has loaded would miss, then
        ends it with a click beside the entries."""
        wait(self.on_splash, "no splash picture", 20)
        self.click(10, 590, until=lambda: not self.on_splash(), what="a click did not end the splash")
        wait(self.menu_shown, "no menu after the splash")

    def open_entry(self, k, until, what):
        return self.click(ENTRY_X, entry_y(k), until=until, what=what)

    def leave_with_escape(self, what="ESC did not bring the menu back"):
        self.key("Escape", until=self.menu_shown, what=what)
        self.expect_running(what)

    def expect_back(self, mark, pattern, what):
        """The game is back in its menu, and its error output since mark is, in full, what
        pattern allows (a regular expression)."""
        complete = lambda: re.fullmatch(pattern, self.stderr()[mark:])
        wait(complete, f"{what}: the {self.name} wrote {self.stderr()[mark:]!r}")
        wait(self.menu_shown, f"{what}: the {self.name} is not back in its menu")
        expect(complete(), f"{what}: the {self.name} wrote {self.stderr()[mark:]!r}")

    def host(self):
        """Starts a network match as server: its waiting screen writes nothing above y 95."""
        self.click(ENTRY_X, entry_y(3), until=lambda: setup_screen(self.shot(), 200), what="no waiting screen")

    def join(self, address, connected):
        """Starts a network match as client: clears the address, types another and holds
        Return until connected() holds."""
        self.click(ENTRY_X, entry_y(4), until=lambda: setup_screen(self.shot(), 100), what="no address screen")
        # The typed line blinks a cursor: its rows are left out, so that what is left
        # changes only with the text.
        line = (0, 190, 800, 50)
        looks = [crop(self.shot(), line)]
        wait(lambda: looks.append(crop(self.shot(), line)) or (looks[-1] != looks[0]).any(), "no blinking cursor")
        cursor_rows = np.flatnonzero((looks[-1] != looks[0]).any(axis=(1, 2)))
        text = lambda: np.delete(crop(self.shot(), line), cursor_rows, axis=0)

        def type_key(name):
            # Under load a release and the next press can fall into one pass of the game,
            # which then never sees the second press: each key is held until it shows.
            before = text()
            self.key(name, until=lambda: (text() != before).any(), what=f"{name} did not change the address")

        while text().max() > 0:
            type_key("BackSpace")
        for name in address:
            type_key(KEY_NAMES.get(name, name))
        self.key("Return", until=connected, what="Return did not connect")

    def audio_size(self):
        return os.path.getsize(self.audio_file) // 4 * 4 if os.path.exists(self.audio_file) else 0

    def loud(self, since=0):
        """How many 4-byte words of the sound output, from byte `since` on, differ from its
        silence, whatever sample format the driver writes: silence is the word that occurs
        most often, since sounds vary and silence does not."""
        if not os.path.exists(self.audio_file):
            return 0
        with open(self.audio_file, "rb") as f:
            data = f.read()
        words = np.frombuffer(data[:len(data) // 4 * 4], np.uint32)
        if words.size == 0:
            return 0
        values, counts = np.unique(words, return_counts=True)
        return int((words[since // 4:] != values[counts.argmax()]).sum())

    def check_start(self, status, pattern, stream="stderr", env=None):
        """Starts the game, which either ends with status or (status None) runs and quits
        on a held Escape; the stream's text must match the regular expression."""
        self.start(env=env, window=status is None)
        if status is None:
            self.key("Escape", until=self.ended, what="a held Escape did not quit")
        self.expect_exit(status or 0, self.name, 15)
        text = self.stderr() if stream == "stderr" else self.output(stream)
        expect(re.search(pattern, text, re.M), f"{self.name}: {stream} {text!r} does not match {pattern!r}")

    def stop(self):
        for proc in (self.proc, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.kill()
                proc.wait()


# The network peer: speaks the wire protocol on loopback in place of a second game.
PORT = 7882


def input_message(value):
    return struct.pack("<i", value)


def state_message(pieces=(370, 360, 420, 7), sound=0):
    """A StateMessage with the four pieces at x and every other slot empty."""
    text = "".join(f"{x:03d}" for x in pieces) + "0" * 840 + f"{sound}x"
    return text.encode().ljust(1500, b"\0")


def pieces_of(message):
    return [int(message[3 * k:3 * k + 3]) for k in range(4)]


def connect(timeout=20):
    """Connects to the game's server, retrying while it is not listening yet."""
    def attempt():
        try:
            return socket.create_connection(("127.0.0.1", PORT), timeout=5)
        except OSError:
            return None
    return wait(attempt, "the game's server took no connection", timeout, 0.1)


def listen():
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", PORT))
    server.listen(1)
    server.settimeout(30)
    return server


def receive(peer, size, timeout=10):
    """Receives size bytes, or fewer if the game closes the connection first."""
    peer.settimeout(timeout * SLOW)
    data = b""
    while len(data) < size:
        chunk = peer.recv(size - len(data))
        if not chunk:
            break
        data += chunk
    return data


def private_network():
    """Runs this test again in a network namespace of its own (as root), so that nothing
    else on the machine can hold the game's port."""
    if os.geteuid() == 0 and "MEADOW_E2E_NETNS" not in os.environ:
        os.environ["MEADOW_E2E_NETNS"] = "1"
        sys.stdout.flush()
        os.execvp("unshare", ["unshare", "-n", "sh", "-c", 'ip link set lo up && exec "$@"', "sh",
                              sys.executable] + sys.argv)


def setup(network=False):
    """Reads GAME and DATA from the command line and makes the folder for the instances;
    a network test first moves into a network namespace of its own."""
    global GAME, DATA, WORK
    if network:
        private_network()
    GAME, DATA = (os.path.abspath(arg) for arg in sys.argv[1:3])
    WORK = tempfile.mkdtemp(prefix="meadow-e2e-")


def run(steps):
    """Runs the test's steps in order; the first failure ends the test."""
    failed = False
    try:
        for step in steps:
            began = time.monotonic()
            print(f"-- {step.__doc__}", end="", flush=True)
            step()
            print(f" ({time.monotonic() - began:.1f} s)", flush=True)
    except Failure as failure:
        failed = True
        print(f"\nFAIL: {failure}")
        for game in GAMES:
            print(f"--- stderr of {game.name}:\n{game.output('stderr')[-2000:]}")
            Image.fromarray(game.shot().astype(np.uint8)).save(game.path("failure.png"))
    finally:
        for game in GAMES:
            game.stop()
        if not os.environ.get("E2E_KEEP"):
            shutil.rmtree(WORK, ignore_errors=True)
    print("1 failed" if failed else "passed")
    sys.exit(1 if failed else 0)
