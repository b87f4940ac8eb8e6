#!/usr/bin/env python3
"""One session under valgrind's memcheck on a game built without sanitizers."""
import os, sys, time

import harness
from harness import BACK, ENTRY_X, Game, entry_y, expect, run, setup, wait
from peer import connect, input_message, receive

# SDL 2 behind sdl12-compat draws through GL libraries that leak on their own, and under
# valgrind a session there takes a quarter of an hour.
# valgrind runs Linux programs only.
if not os.access(sys.argv[1], os.X_OK) or harness.TARGET in ("sdl12-compat", "wine", "web"):
    print(f"skipped: no plain game at {sys.argv[1]!r}, or the target {harness.TARGET}")
    sys.exit(77)
setup(network=True)
harness.SLOW = 30  # a game runs 20 to 50 times slower under valgrind
game = Game("memcheck")
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "memcheck.supp")
VALGRIND = ["valgrind", "--error-exitcode=99", "--leak-check=full", "--track-origins=yes",
            "--show-leak-kinds=definite", "--errors-for-leak-kinds=definite",
            "--suppressions=" + SUPPRESSIONS, "--log-file=" + game.path("log")]


def session():
    """Menu, demo, help, a network match, quit: memcheck finds nothing of ours"""
    game.start(command=VALGRIND + [harness.GAME], menu=True)
    game.click(ENTRY_X, entry_y(2), until=game.in_match, what="the demo did not start")
    time.sleep(5)
    game.leave_with_escape()
    game.click(ENTRY_X, entry_y(6), until=lambda: not game.menu_shown(), what="no help screen")
    game.leave_with_escape()
    game.host()
    with connect() as peer:
        for value in [1, 11, 0, 13] * 3:  # moves and shots of player 2
            peer.sendall(input_message(value))
            expect(len(receive(peer, 1500)) == 1500, "the server sent no state")
    wait(game.menu_shown, "the server is not back in its menu")
    game.move(*BACK)
    game.key("Escape", until=game.ended, what="a held ESC did not quit")
    with open(game.path("log")) as f:
        status = game.proc.wait()
        expect(status == 0, f"status {status}:\n{f.read()[-6000:]}")


run([session])
