#!/usr/bin/env python3
"""The local match in a real window: the demo, and a match against the computer."""
import time

from harness import ENTRY_X, Game, entry_y, expect, run, setup, wait
from pixels import crop, differing, left_edge

setup()
CANNON, SHIELD, FPS = (390, 70), (465, 28), (630, 345, 170, 32)  # player 1's rows; the rate


def result_shown(game):
    """A decided match shows the border bar at (W/2 - 180, H - 180) under the ESC hint;
    its top rows stay clear of the hint text."""
    top = game.picture("border")[:8]
    return differing(crop(game.shot(), (220, 420, top.shape[1], 8)), top) < top.size // 60


def demo():
    """The demo: frames advance, a result appears, ESC returns to the menu, a fresh ESC quits"""
    game = Game("demo", {"sheepmax": 2, "maxshots": 10, "shotspeed": 40, "sheepspeed": 8,
                         "frameduration": 15})
    game.start(menu=True)
    game.click(ENTRY_X, entry_y(2), until=game.in_match, what="the demo did not start")
    first = game.shot()
    wait(lambda: differing(first, game.shot()) > 0, "the demo's frames do not advance")
    wait(lambda: result_shown(game) or game.ended(), "the demo was not decided", 90)
    if game.target == "web":  # a page's sounds cannot be read back; their starts and stops can
        expect(game.proc.most_of_one_sound() == 1,
               f"a sound played {game.proc.most_of_one_sound()} times at once on its channel")
    # The result picture's palette turns every frame: most of its pixels change colour.
    inside, shown = (150, 255, 500, 85), game.shot()
    wait(lambda: differing(game.shot(), shown, inside) > 500 * 85 // 10, "no shimmer")
    game.leave_with_escape("ESC did not return from the demo to the menu")
    game.quit_with_escape()


def match():
    """The match: arrows, Ctrl+Left, Space with its sound, F, ESC"""
    # Shots stand still: the computer fires its three shots at once and then is silent,
    # and the rows of player 1's cannon and shield hold nothing else.
    game = Game("match", {"sheepmax": 2, "maxshots": 3, "shotspeed": 0, "shiftslow": 1,
                          "speedfast": 12, "speedslow": 6})
    game.start(menu=True)
    game.click(ENTRY_X, entry_y(1), until=game.in_match, what="entry 1 did not start a match")
    time.sleep(1.5)
    background, width = game.picture("background"), game.picture("cannon1").shape[1]
    edges = lambda: tuple(left_edge(game.shot(), background, *rows) for rows in (CANNON, SHIELD))
    cannon, shield = edges()
    expect(None not in (cannon, shield), f"player 1's pieces are missing: {cannon}, {shield}")
    expect(abs(cannon + width // 2 - 400) <= width, f"player 1's cannon starts at x {cannon}")
    expect(not result_shown(game), "a result is shown in an undecided match")
    for keys, piece, sign in [("Left", 0, -1), ("Right", 0, 1), ("Control_L+Left", 1, -1)]:
        before = edges()
        moved = lambda: None not in (now := edges()) and sign * (now[piece] - before[piece]) >= 12 \
            and now
        after = game.key(keys, 0.3, until=moved, what=f"{keys} did not move piece {piece}")
        expect(after[1 - piece] == before[1 - piece], f"{keys} moved both: {before} -> {after}")

    quiet_from = game.sound_mark()
    time.sleep(1)
    expect(not game.heard(quiet_from), "the match is not silent before firing")
    above_cannon = (edges()[0], CANNON[0] - 16, width, 16)
    shot_shown = lambda: differing(game.shot(), background, above_cannon) > 0
    expect(not shot_shown(), "something is above the cannon before firing")
    fire_from = game.sound_mark()
    game.key("space", until=shot_shown, what="Space put no shot above the cannon")
    wait(lambda: game.heard(fire_from), "firing made no sound")
    expect(differing(game.shot(), background, FPS) < 20, "a frame rate is shown before F")
    game.key("f", until=lambda: differing(game.shot(), background, FPS) > 100, what="no rate")
    game.leave_with_escape("ESC did not return from the match to the menu")
    expect("BlitSurface error" not in game.stderr(), "the match reported failed blits")


run([demo, match])
