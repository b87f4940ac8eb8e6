#!/usr/bin/env python3
"""Start-up in a real window, and broken installations, themes and language files."""
import os, re, time

from PIL import Image

import harness
from harness import BACK, ENTRY_X, Game, entry_y, expect, run, setup, wait
from pixels import crop, differing

setup()


def normal_start():
    """A normal start: the window, the splash and the explosion sound; a held ESC quits"""
    game = Game("ok")
    game.start()  # it waits for the splash
    shown = game.view()
    expect(shown == ("Meadowgunner v. 1.0", 800, 600), f"the window's title and size: {shown}")
    # SDL 2 has no icon title of its own, so sdl12-compat leaves it unset; neither Windows
    # nor a page has one.
    icon = game.window().get_wm_icon_name()
    expect(icon == "Medow", f"the window's icon title: {icon!r}",
           skip_on=("sdl12-compat", "wine", "web"))
    with open(f"/proc/{game.proc.pid}/maps") as maps:
        on_compat = "/sdl12-compat/" in maps.read()
    expect(on_compat == (harness.TARGET == "sdl12-compat"), f"on sdl12-compat: {on_compat}")
    wait(game.heard, "no explosion sound at start")
    # ESC ends the splash and, still held at the first menu pass, leaves the menu.
    game.key("Escape", until=game.ended, what="a held ESC did not quit")
    game.expect_exit(0, "ESC through the splash")


def fullscreen():
    """/f: the splash fills the full screen; a held ESC quits"""
    game = Game("fullscreen")
    if harness.TARGET != "web":
        game.start(command=[harness.GAME, "/f"])
    else:  # the page fills the screen; the browser says over its top how to leave
        game.start(command=[harness.GAME, "/f"], window=False)
        below, splash = (0, 80, 800, 520), game.picture("splashscreen")
        wait(lambda: game.proc.state("phase") and game.proc.devtools.evaluate(
            "document.fullscreenElement === document.getElementById('stage')") and
            differing(game.shot(), splash, below) < 800 * 520 // 100, "no splash in full screen")
    game.key("Escape", until=game.ended, what="a held ESC did not quit the full screen")
    game.expect_exit(0, "ESC in full screen")


def half(path):
    os.truncate(path, os.path.getsize(path) // 2)


def append(*lines):
    """Adds lines at the end of a language file, where they win over the file's own."""
    return lambda path: open(path, "ab").write(b"\n".join(lines) + b"\n")


def silent_start(game, skip_on=()):
    time.sleep(1)  # the start-up sound would have begun before the splash
    expect(not game.heard(), "a start-up sound that cannot be loaded was heard", skip_on)


def still_result(game):
    """With one sheep a side and shots that stand still, the demo stays in sudden death: the
    picture without a palette (500 x 160, centred) shows and stands still. Between the HUD
    lines nothing covers it."""
    inside = (150, 255, 500, 85)
    shown = lambda: differing(game.shot(), game.picture("background"), inside) > 500 * 85 // 2
    game.click(ENTRY_X, entry_y(2), shown, "the picture without a palette is not shown")
    first = game.shot()
    time.sleep(0.5)
    expect(differing(game.shot(), first, inside) == 0, "the picture without a palette changes")
    game.leave_with_escape()


def strip_draws_nothing(game):
    """The demo goes on through explosions (heard: the only sound left) and draws nothing
    of the strip, magenta and narrower than its frames."""
    since = game.sound_mark()
    game.click(ENTRY_X, entry_y(2), until=game.in_match, what="the demo did not start")
    wait(lambda: expect(not (game.shot() == (255, 0, 255)).all(axis=2).any(), "the strip showed")
         or game.heard(since), "no explosion in the demo", 90)
    game.leave_with_escape()


HIGH_BYTES = [key + b"=" + bytes(range(0x80 + 26 * i, min(0x100, 0x80 + 26 * (i + 1))))
              for i, key in enumerate((b"StartGame", b"Demo", b"NetGameS", b"NetGameC", b"Quit"))]
QUIET = {key: "none.wav" for key in ("shotsound", "sheepsound1", "sheepsound2", "sheepsound3")}
BROKEN = [  # a game that runs (status None) quits on ESC, after playing from its menu if asked
    dict(name="noconfig", file="config.ini", pattern=r"^config.ini could not be opendtheme file "
         r"could not be opened! try to open default.ini\nlanguage file could not be opened!$"),
    dict(name="fallback", config={"theme0": "nothere.ini"},
         pattern=r"^theme file could not be opened! try to open default.ini$"),
    dict(name="notheme", config={"theme0": "nothere.ini"}, file="default.ini", status=1,
         pattern=r"\Atheme file could not be opened! try to open default.ini\n"
         r"default.ini couldn't be opened.\n\Z"),
    # A browser has SDL, and sound, whatever the environment says.
    dict(name="nosdl", env={"SDL_VIDEODRIVER": "none", "SDL_AUDIODRIVER": "none"}, status=255,
         stream="stdout", pattern=r"\ACould not initialize SDL: .*\.\n\Z", skip_on="web"),
    dict(name="nomixer", env={"SDL_DISKAUDIOFILE": "/nonexistent/audio.raw"},
         pattern=r"^Warning: Couldn't set 11025 Hz 8-bit audio\n- Reason: ", skip_on="web"),
    # Pictures that cannot be loaded: missing, truncated (a PNG, a BMP), empty, a folder, a text.
    *(dict(name=key, file=key, breakage=breakage, status=1) for key, breakage in [
        ("winner", os.remove), ("draw", half), ("background", half),
        ("cannon1", lambda path: os.truncate(path, 0)),
        ("border", lambda path: os.remove(path) or os.mkdir(path)),
        ("shot", lambda path: open(path, "w").write("not a picture"))]),
    # SDL 2 (behind sdl12-compat) and a browser play what a truncated WAV holds.
    dict(name="truncated_wav", file="explodesound", breakage=half,
         play=lambda game: silent_start(game, ("sdl12-compat", "web"))),
    dict(name="empty_wav", file="explodesound", play=silent_start,
         breakage=lambda path: os.truncate(path, 0)),
    dict(name="rgb_result", config={"sheepmax": 1, "shotspeed": 0}, play=still_result,
         file="suddendeath", breakage=lambda p: Image.open(p).convert("RGB").save(p)),
    dict(name="narrow_strip", config={"exploanim": 20, "maxshots": 10, "shotspeed": 40},
         theme=QUIET, file="explosion", play=strip_draws_nothing,
         breakage=lambda path: Image.new("RGB", (10, 64), (255, 0, 255)).save(path)),
    # The long Quit text is cut to its field: whole, it would wrap into a second line.
    dict(name="long_line", file="english.lng", breakage=append(b"Quit=" + b"A " * 2500),
         play=lambda game: expect(not crop(game.shot(), (225, 505, 575, 25)).any(), "not cut")),
    dict(name="high_bytes", file="english.lng", play=lambda game: None,  # the menu is enough
         breakage=append(bytes(range(0x80, 0x100)), *HIGH_BYTES)),
    # A Ctrl-Z and CR LF line ends are bytes like any other, on every target: the long Quit
    # text after them is read and reaches far to the right.
    dict(name="ctrl_z", file="english.lng",
         breakage=append(b"Demo=Demo\x1a\r", b"Quit=" + b"Q" * 14),
         play=lambda game: expect(crop(game.shot(), (560, 470, 200, 25)).any(), "Quit not read")),
]


def broken(name, pattern=None, status=None, config=None, theme=None, file=None,
           breakage=os.remove, env=None, stream="stderr", play=None, skip_on=()):
    """file: a file of the data folder, or (without a dot) the key of a theme file."""
    if harness.TARGET and harness.TARGET in skip_on:
        return print(f"SKIP on {harness.TARGET}: {name}")
    game = Game(name, config, theme)
    path = file and (game.path(file) if "." in file else game.theme_file(file))
    if path:
        breakage(path)
    if pattern is None:  # a game that runs says nothing; libpng may say why it cannot load
        loading = rf"\A(libpng .*\n)?Couldn't load {os.path.relpath(str(path), game.dir)}: .*\n\Z"
        pattern = loading if status else r"\A\Z"
    game.start(env, window=status is None, menu=play is not None)
    if play:
        play(game)
        game.move(*BACK)
    if status is None:
        game.key("Escape", until=game.ended, what="a held ESC did not quit")
    game.expect_exit(status or 0, name, 15)
    expect(re.search(pattern, game.stderr(stream), re.M), f"{name}: {game.stderr(stream)!r}")


def broken_files():
    """Broken installations, themes and language files: messages, statuses or clean runs"""
    for case in BROKEN:
        broken(**case)


run([normal_start, fullscreen, broken_files])
