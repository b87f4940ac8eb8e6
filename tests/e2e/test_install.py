#!/usr/bin/env python3
"""The installed game: binary, data, launcher, desktop entry and icon, and the launcher
starting the game in its data folder from anywhere."""
import os
import subprocess

import harness
from harness import Game, expect, run, setup

setup()
INSTALLED = ["bin/meadowgunner", "share/applications/meadowgunner.desktop",
             "share/icons/hicolor/64x64/apps/meadowgunner.png", "share/meadowgunner/config.ini",
             "share/meadowgunner/default.ini", "share/meadowgunner/themes/meadow/border.png"]


def install():
    """cmake --install puts every file in place, and the desktop entry starts the launcher"""
    prefix = os.path.join(harness.WORK, "prefix")
    done = subprocess.run(["cmake", "--install", os.path.dirname(harness.GAME), "--prefix", prefix],
                          capture_output=True, text=True)
    expect(done.returncode == 0, f"cmake --install failed: {done.stdout[-500:]}{done.stderr[-500:]}")
    for name in INSTALLED:
        expect(os.path.exists(os.path.join(prefix, name)), f"not installed: {name}")
    with open(os.path.join(prefix, INSTALLED[1])) as f:
        expect("Exec=meadowgunner\n" in f.read(), "the desktop entry does not start the launcher")

    # From an unrelated folder the launcher still finds every file: the game comes up
    # without a complaint and Escape quits.
    game = Game("launcher")
    elsewhere = os.path.join(harness.WORK, "elsewhere")
    os.mkdir(elsewhere)
    game.start(command=[os.path.join(prefix, INSTALLED[0])], cwd=elsewhere, env={"SDL_AUDIODRIVER": "dummy"})
    game.enter_menu()
    game.key("Escape", until=game.ended, what="the installed game did not quit")
    game.expect_exit(0, "the installed game")
    expect(game.stderr() == "", f"complaints: {game.stderr()!r}")


run([install])
