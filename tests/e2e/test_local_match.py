#!/usr/bin/env python3
"""The local match in a real window. The demo: frames advance, a result appears with its
"Press ESC to continue." bar, ESC returns to the menu. The match against the computer:
the arrows move player 1's cannon, Ctrl+Left its shield, Space fires with a sound, F
shows the frame rate, ESC returns to the menu."""
import time

from harness import ENTRY_X, Game, crop, differing, entry_y, expect, left_edge, run, setup, wait

setup()
CANNON, SHIELD = (390, 70), (465, 28)  # the rows of player 1's cannon and shield
FPS_TEXT = (630, 345, 170, 32)


def result_shown(game, image):
    """A decided match shows the border bar at (W/2 - 180, H - 180) under the ESC hint;
    its top rows stay clear of the hint text."""
    border = game.picture("border")[:8]
    return differing(crop(image, (220, 420, border.shape[1], 8)), border, (0, 0, border.shape[1], 8)) < border.size // 60


def demo():
    """The demo: frames advance, a result appears, ESC returns to the menu, a fresh ESC quits"""
    game = Game("demo", {"sheepmax": 2, "maxshots": 3, "shotspeed": 40, "sheepspeed": 8, "frameduration": 15})
    game.start()
    game.enter_menu()
    game.click(ENTRY_X, entry_y(2), until=game.in_match, what="the demo entry did not start a match")
    first = game.shot()
    wait(lambda: differing(first, game.shot()) > 0, "the demo's frames do not advance")
    wait(lambda: result_shown(game, game.shot()) or game.ended(), "the demo was not decided", 90)
    game.expect_running("the game ended during the demo")
    game.leave_with_escape("ESC did not return from the demo to the menu")
    game.move(700, 560)
    game.key("Escape", until=game.ended, what="a fresh ESC on the menu did not quit")
    game.expect_exit(0, "a fresh ESC on the menu")


def match():
    """The match: arrows, Ctrl+Left, Space with its sound, F, ESC"""
    # Shots stand still: the computer fires its three shots at once and then is silent,
    # and the rows of player 1's cannon and shield hold nothing else.
    game = Game("match", {"sheepmax": 2, "maxshots": 3, "shotspeed": 0, "shiftslow": 1, "speedfast": 12,
                          "speedslow": 6})
    game.start()
    game.enter_menu()
    game.click(ENTRY_X, entry_y(1), until=game.in_match, what="the StartGame entry did not start a match")
    time.sleep(1.5)
    background, cannon_width = game.picture("background"), game.picture("cannon1").shape[1]

    def edges():
        image = game.shot()
        return left_edge(image, background, *CANNON), left_edge(image, background, *SHIELD)

    def moved(piece, sign, before):
        now = edges()
        return now if now[piece] is not None and sign * (now[piece] - before[piece]) >= 12 else None

    cannon, shield = edges()
    expect(None not in (cannon, shield), f"player 1's cannon or shield is missing: {cannon}, {shield}")
    expect(abs(cannon + cannon_width // 2 - 400) <= cannon_width, f"player 1's cannon starts at x {cannon}")
    expect(not result_shown(game, game.shot()), "a result is shown in an undecided match")
    for keys, piece, sign in [("Left", 0, -1), ("Right", 0, 1), ("ctrl+Left", 1, -1)]:
        before = edges()
        after = game.key(keys, 0.3, until=lambda: moved(piece, sign, before), what=f"{keys} did not move piece {piece}")
        expect(after[1 - piece] == before[1 - piece], f"{keys} moved the other piece as well: {before} -> {after}")

    quiet_from = game.audio_size()
    time.sleep(1)
    expect(game.loud(quiet_from) == 0, "the match is not silent before firing")
    cannon = edges()[0]
    above_cannon = (cannon, CANNON[0] - 16, cannon_width, 16)
    expect(differing(game.shot(), background, above_cannon) == 0, "something stands above the cannon before firing")
    fire_from = game.audio_size()
    game.key("space", until=lambda: differing(game.shot(), background, above_cannon) > 0,
             what="Space put no shot above the cannon")
    wait(lambda: game.loud(fire_from) > 0, "firing made no sound")

    expect(differing(game.shot(), background, FPS_TEXT) < 20, "a frame-rate text is shown before F")
    game.key("f", until=lambda: differing(game.shot(), background, FPS_TEXT) > 100,
             what="F did not show the frame-rate text")
    game.leave_with_escape("ESC did not return from the match to the menu")
    expect("BlitSurface error" not in game.stderr(), "the match reported failed blits")


run([demo, match])
