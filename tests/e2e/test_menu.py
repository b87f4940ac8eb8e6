#!/usr/bin/env python3
"""The main menu, its locks and its screens in a real window."""
import itertools, time

import harness

from harness import BACK, ENTRY_X, Game, entry_y, expect, run, setup, wait
from pixels import crop, differing

setup()
game = Game("menu")
seen = {}  # screens that later steps compare with
SCREENS = {"options": 5, "help": 6, "story": 7, "credits": 8}


def a_screen(image):
    """Text on black with a back button has replaced the menu."""
    return differing(image, seen["menu"], (0, 0, 800, 500)) > 500 and \
        crop(image, (0, 0, 15, 600)).max() == 0 and crop(image, (20, 542, 175, 38)).max() > 0


def open_screen(name):
    game.click(ENTRY_X, entry_y(SCREENS[name]), lambda: a_screen(game.shot()), f"no {name}")
    seen[name] = game.shot()


def click_lock():
    """A click that ends the splash over entry 1 and is still held starts nothing; the
    highlight bar follows the pointer"""
    game.start()
    game.move(ENTRY_X, entry_y(1))
    game.hold(0, lambda: not game.on_splash() and (time.sleep(0.5) or game.menu_shown()),
              "a held click did not end the splash, or started something", button=1)
    game.follow_pointer()
    seen["menu"] = game.shot()


def match_and_escape_lock():
    """A fresh click on entry 1 starts a match; ESC held leaves it and not the menu too"""
    game.click(ENTRY_X, entry_y(1), until=game.in_match, what="entry 1 did not start the match")
    game.key("Escape", 0.8, until=game.menu_shown, what="ESC held from the match left no menu")
    game.move(*BACK)
    wait(lambda: differing(game.shot(), seen["menu"]) == 0, "the menu changed after a match")


def four_screens():
    """Options, help, story and credits: each left by ESC and by its back button, and the
    same on a second visit (its line breaks stay put)"""
    for name in SCREENS:
        open_screen(name)
        # A held ESC leaves the screen but not the menu: the pointer rests on entries 5-9.
        game.leave_with_escape(f"ESC did not leave {name}")
        first = seen[name]
        open_screen(name)
        expect(differing(first, seen[name]) == 0, f"{name} changed on a second visit")
        game.click(*BACK, until=game.menu_shown, what=f"the back button did not leave {name}")
    for a, b in itertools.combinations(SCREENS, 2):
        expect(differing(seen[a], seen[b], (0, 0, 800, 500)) > 200, f"{a} and {b} look alike")
    game.move(ENTRY_X, entry_y(6))  # resting there, a fresh ESC does not quit either
    game.key("Escape", 0.5)
    game.expect_running("ESC quit with the pointer resting on entry 6")
    game.quit_with_escape()  # a fresh ESC, the pointer off entries 5 to 9


def german_and_closing():
    """German texts; closing the window on the menu, a screen and a match ends with 0"""
    german = Game("german", {"currentlanguage": 1, "language1": "german.lng"})
    closes = [(None, None, "the menu"), (6, lambda: a_screen(german.shot()), "a screen"),
              (2, german.in_match, "the demo")]
    for entry, shown, where in closes:
        german.start(menu=True)
        german.move(*BACK)
        expect(differing(german.shot(), seen["menu"], (225, 60, 575, 440)) > 200, "no German")
        if entry:
            german.click(ENTRY_X, entry_y(entry), shown, f"{where} did not open")
        if harness.TARGET == "web":  # a page has no close button: its tab goes, and the game
            german.proc.kill()     # with it
            print(f"SKIP on web: closing the window on {where}")
            continue
        german.close()
        german.expect_exit(0, f"closing the window on {where}")


def same_as_linux():
    """The menu and the four screens show the Linux game's very pixels"""
    linux = Game("linux", native=True)
    linux.start(menu=True)  # the pointer rests on a gap row, as when the menu was seen
    expect(differing(linux.shot(), seen["menu"]) == 0, "the menu differs from the Linux game's")
    for name, entry in SCREENS.items():
        linux.click(ENTRY_X, entry_y(entry), lambda: a_screen(linux.shot()), f"no {name}")
        expect(differing(linux.shot(), seen[name]) == 0, f"{name} differs from the Linux game's")
        linux.click(*BACK, until=linux.menu_shown, what=f"the back button did not leave {name}")
    linux.quit_with_escape()


# Another target's build is held up against the Linux game itself.
run([click_lock, match_and_escape_lock, four_screens] +
    ([same_as_linux] if harness.TARGET in ("wine", "web") else []) + [german_and_closing])
