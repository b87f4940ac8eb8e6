#!/usr/bin/env python3
"""Start-up in a real window: title, size, splash, start-up sound, and the messages and
exit statuses of broken installations."""
import os

from harness import Game, expect, run, setup, wait


setup()


def normal_start():
    """A normal start: the window, the splash and the explosion sound; Escape quits"""
    game = Game("ok")
    game.start()
    window = game.window()
    expect(window.get_wm_name() == "Meadowgunner v. 1.0", f"window title {window.get_wm_name()!r}")
    geometry = window.get_geometry()
    expect((geometry.width, geometry.height) == (800, 600), f"window size {geometry.width}x{geometry.height}")
    wait(game.on_splash, "the screen does not show the splash")
    wait(lambda: game.loud() > 100, "no explosion sound at start")
    # Escape ends the splash and, still held at the first menu pass, leaves the menu.
    game.key("Escape", until=game.ended, what="a held Escape did not quit")
    game.expect_exit(0, "Escape through the splash")


def remove(*names):
    return lambda game: [os.remove(game.path(name)) for name in names]


BROKEN = [  # name, config.ini values, what else is broken, environment, status (None: runs), stream, pattern
    ("noconfig", {}, remove("config.ini"), None, None, "stderr",
     r"^config.ini could not be opendtheme file could not be opened! try to open default.ini\n"
     r"language file could not be opened!$"),
    ("fallback", {"theme0": "nothere.ini"}, None, None, None, "stderr",
     r"^theme file could not be opened! try to open default.ini$"),
    ("notheme", {"theme0": "nothere.ini"}, remove("default.ini"), None, 1, "stderr",
     r"\Atheme file could not be opened! try to open default.ini\ndefault.ini couldn't be opened.\n\Z"),
    ("nosdl", {}, None, {"SDL_VIDEODRIVER": "nosuchdriver", "SDL_AUDIODRIVER": "nosuchdriver"}, 255,
     "stdout", r"\ACould not initialize SDL: .*\.\n\Z"),
    ("nomixer", {}, None, {"SDL_DISKAUDIOFILE": "/nonexistent/dir/audio.raw"}, None, "stderr",
     r"^Warning: Couldn't set 11025 Hz 8-bit audio\n- Reason: "),
]


def broken_installations():
    """Broken installations: their messages, and their statuses or a running game"""
    for name, config, breakage, env, status, stream, pattern in BROKEN:
        game = Game(name, config)
        if breakage:
            breakage(game)
        game.check_start(status, pattern, stream, env)


def missing_picture():
    """A missing picture ends the program with status 1 and names the path"""
    Game("nopicture", theme={"winner": "gone.png"}).check_start(
        1, r"\ACouldn't load themes/meadow/gone.png: [^\n]*\n\Z")


run([normal_start, broken_installations, missing_picture])
