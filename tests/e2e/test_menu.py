#!/usr/bin/env python3
"""The main menu in a real window: the splash and the click lock, the highlight bar, a
local match and the escape lock, the four screens and their back button, the German
texts, and closing the window from the menu, a screen and a match."""
import itertools
import time

from harness import BACK, ENTRY_X, GAP_Y, Game, crop, differing, entry_y, expect, in_menu, run, setup, wait

setup()
game = Game("menu")
seen = {}  # screenshots that later steps compare with
SCREENS = {"options": 5, "help": 6, "story": 7, "credits": 8}


def click_lock():
    """A click that ends the splash over entry 1 and is still held starts nothing"""
    game.start()
    wait(game.on_splash, "no splash picture", 20)
    game.move(ENTRY_X, entry_y(1))
    game.press_button()
    try:
        wait(lambda: not game.on_splash(), "a held click did not end the splash")
        time.sleep(0.5)
        expect(game.menu_shown(), "the click that ended the splash started something")
    finally:
        game.press_button(False)
    time.sleep(0.3)
    game.expect_running("the splash click ended the game")
    wait(game.menu_shown, "releasing the splash click left the menu")


def highlight_bar():
    """The highlight bar follows the pointer: on entry 2, not on a gap row"""
    bar = (220, 183, game.picture("border").shape[1], 3)
    game.move(ENTRY_X, entry_y(2))
    wait(lambda: crop(game.shot(), bar).max() > 0, "no highlight bar at y 183 with the pointer on entry 2")
    game.move(ENTRY_X, GAP_Y)
    wait(lambda: crop(game.shot(), bar).max() == 0, "a bar is drawn while the pointer is on a gap row")
    seen["menu"] = game.shot()
    expect(in_menu(seen["menu"]), "the gap row does not show the menu")


def match_and_escape_lock():
    """A fresh click on entry 1 starts a match; ESC held leaves it and not the menu too"""
    game.click(ENTRY_X, entry_y(1), until=game.in_match, what="a fresh click on entry 1 did not start the match")
    game.key("Escape", 0.8, until=game.menu_shown, what="ESC did not bring the menu back from the match")
    time.sleep(0.3)
    game.expect_running("ESC held from the match quit the menu")
    game.move(*BACK)
    wait(lambda: differing(game.shot(), seen["menu"]) == 0, "the menu looks different after a match")


def a_screen(image):
    """The menu has given way to text on black with a back button."""
    return differing(image, seen["menu"], (0, 0, 800, 500)) > 500 and crop(image, (0, 0, 15, 600)).max() == 0 \
        and crop(image, (20, 542, 175, 38)).max() > 0


def open_screen(name):
    game.click(ENTRY_X, entry_y(SCREENS[name]), until=lambda: a_screen(game.shot()), what=f"{name} did not open")
    seen[name] = game.shot()
    game.expect_running(f"opening {name} ended the game")


def four_screens():
    """Options, help, story and credits: each left by ESC and by its back button"""
    for name in SCREENS:
        open_screen(name)
        # A held ESC leaves the screen but not the menu: the pointer rests on entries 5 to 9.
        game.leave_with_escape(f"ESC did not leave {name}")
        open_screen(name)
        game.click(*BACK, until=game.menu_shown, what=f"the back button did not leave {name}")
        game.expect_running(f"leaving {name} ended the game")
    for a, b in itertools.combinations(SCREENS, 2):
        expect(differing(seen[a], seen[b], (0, 0, 800, 500)) > 200, f"the {a} and {b} screens look alike")
    options = seen["options"]
    open_screen("options")
    expect(differing(options, seen["options"]) == 0, "the options screen changed between two visits")
    game.leave_with_escape()


def fresh_escape_quits():
    """A fresh ESC with the pointer off entries 5 to 9 quits with status 0"""
    game.move(*BACK)
    game.key("Escape", until=game.ended, what="a fresh ESC on the menu did not quit")
    game.expect_exit(0, "a fresh ESC on the menu")


def german_texts():
    """The German menu differs from the English one; closing the window there ends with 0"""
    german = Game("german", {"currentlanguage": 1})
    german.start()
    german.enter_menu()
    german.move(*BACK)
    wait(german.menu_shown, "the German menu does not show")
    shown = german.shot()
    expect(differing(shown, seen["menu"], (225, 60, 575, 440)) > 200, "the German menu looks like the English one")
    german.close()
    german.expect_exit(0, "closing the window on the menu")


def close_from_screen_and_match():
    """Closing the window on a screen and in a match ends the program with status 0"""
    for entry, shown, where in [(6, lambda: differing(game.shot(), seen["help"]) == 0, "the help screen"),
                                (2, game.in_match, "the demo")]:
        game.start()
        game.enter_menu()
        game.click(ENTRY_X, entry_y(entry), until=shown, what=f"{where} did not open before closing")
        game.close()
        game.expect_exit(0, f"closing the window on {where}")


run([click_lock, highlight_bar, match_and_escape_lock, four_screens, fresh_escape_quits, german_texts,
     close_from_screen_and_match])
