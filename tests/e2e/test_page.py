#!/usr/bin/env python3
"""The page around the browser game: its settings, its end, what it says when the game
cannot host, its full-screen button and the keys it leaves to the game."""
import re, sys

import harness
from harness import BACK, ENTRY_X, Game, entry_y, expect, run, setup, wait
from pixels import differing

if harness.TARGET != "web":
    print("skipped: the page belongs to the browser game")
    sys.exit(77)
setup()
game = Game("page")
seen = {}


def page(expression):
    return game.proc.devtools.evaluate(expression)


def game_file(name):
    return page(f"new TextDecoder('latin1').decode(FS.readFile('/game/{name}'))")


def reload():
    """Loads the page again, as a player coming back does, and waits until it is ready."""
    page("window.leftBehind = true; location.reload()")
    wait(lambda: page("!window.leftBehind && window.meadow && meadow.phase") == "ready",
         "the page did not load again", 60)


def choose(name, value):
    """Sets a field of the settings panel as a player does, who then leaves the field."""
    page(f"(() => {{ const f = document.querySelector('#settings [name={name}]');"
         f" f.value = '{value}'; f.dispatchEvent(new Event('change', {{bubbles: true}})); }})()")


def settings_panel():
    """The shipped settings fill the panel; a choice reaches config.ini when the game starts
    and is kept for the next visit"""
    game.start(menu=True)
    seen["english"] = game.shot()
    shipped = open(game.path("config.ini"), encoding="latin-1").read()
    expect(game_file("config.ini") == shipped, "config.ini was changed with nothing chosen")
    game.start(play=False)  # a fresh page, waiting for its click
    expect(page("document.getElementById('settings').hidden"), "the panel shows unasked")
    game.press_button("#settings-toggle")
    expect(not page("document.getElementById('settings').hidden"), "the panel does not open")
    fields = page("Object.fromEntries(Array.from(document.querySelectorAll('#settings [name]'))"
                  ".map(f => [f.name, f.value]))")
    expect((fields["sheepmax"], fields["frameduration"], fields["currentlanguage"]) ==
           ("20", "30", "0"), f"the panel does not show the shipped values: {fields}")
    choose("currentlanguage", "1")
    choose("sheepmax", "2")
    reload()  # the next visit
    kept = page("[document.querySelector('[name=currentlanguage]').value,"
                " document.querySelector('[name=sheepmax]').value]")
    expect(kept == ["1", "2"], f"the choices were not kept: {kept}")
    game.press_play()
    game.enter_menu()
    game.move(*BACK)
    config = game_file("config.ini")
    chosen = re.findall(r"^(currentlanguage|sheepmax)=(.*)$", config, re.M)
    expect(sorted(chosen) == [("currentlanguage", "1"), ("sheepmax", "2")], f"config.ini holds {chosen}")
    expect(re.sub(r"^(currentlanguage|sheepmax)=.*$", "", config, flags=re.M) ==
           re.sub(r"^(currentlanguage|sheepmax)=.*$", "", shipped, flags=re.M),
           "the page changed config.ini beyond the two choices")
    expect(differing(game.shot(), seen["english"], (225, 60, 575, 440)) > 200, "no German")
    game.press_button("#settings-toggle")
    game.press_button("#settings-reset")
    expect(page("localStorage.getItem('meadowgunner.settings')") is None, "choices are kept")


def keys_and_messages():
    """Arrows, Space and Page Down play the match and never scroll the page; the panel under
    it shows what the game wrote"""
    page("window.scrollTo(0, 0)")
    game.click(ENTRY_X, entry_y(1), until=game.in_match, what="entry 1 started no match")
    for key in ("Down", "space", "Right", "Next"):
        game.key(key)
    expect(page("scrollY") == 0, f"the keys scrolled the page to {page('scrollY')}")
    game.leave_with_escape()
    wait(lambda: page("document.getElementById('messages').textContent") == game.output(),
         "the panel does not show what the game wrote")


def fullscreen_button():
    """The button puts the game on the whole screen"""
    game.press_button("#fullscreen")
    wait(lambda: page("document.fullscreenElement === document.getElementById('stage')"),
         "the button did not go full screen")
    wait(game.menu_shown, "no menu in full screen")
    page("document.exitFullscreen()")
    wait(lambda: not page("document.fullscreenElement"), "full screen did not end")
    game.move(*BACK)


def cannot_host():
    """Host Net Game cannot open a port in a browser: status 2 after 1 SDLNet_TCP_Open, and
    the page says in plain words why"""
    game.click(ENTRY_X, entry_y(3))
    game.expect_exit(2, "hosting in a browser")
    expect(re.search(r"^1 SDLNet_TCP_Open: \S", game.output(), re.M), f"{game.output()!r}")
    ended = page("document.getElementById('ended').hidden ? '' :"
                 " document.getElementById('ended').textContent")
    expect("status 2" in ended and "cannot host" in ended, f"the page says {ended!r}")


def play_again():
    """After the game ends the page offers to play again, which starts a fresh game"""
    page("window.leftBehind = true")
    game.press_button("#again")
    wait(lambda: page("!window.leftBehind && window.meadow && meadow.phase") == "ready",
         "Play again did not load the game", 60)
    game.press_play()
    wait(lambda: game.window() and game.on_splash(), "no splash after Play again", 30)
    game.enter_menu()
    game.quit_with_escape()
    expect("status 0" in page("document.getElementById('ended-text').textContent"),
           "the page does not say the game ended with status 0")


run([settings_panel, keys_and_messages, fullscreen_button, cannot_host, play_again])
