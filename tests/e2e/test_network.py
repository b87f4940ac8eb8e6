#!/usr/bin/env python3
"""The network match: two copies of the game over loopback, then each against a faulty peer."""
import itertools, random, re, string, time

import numpy as np
from PIL import Image

import harness
from harness import Game, attempt, expect, run, setup, wait
from peer import (bridge, connect, input_message, listen, receive, send_in_pieces,
                  state_message)
from pixels import crop, differing, left_edge, piece_at

setup(network=True)
if harness.TARGET == "web":
    bridge(True)
CONFIG = {"sheepmax": 20, "maxshots": 3, "speedfast": 10, "bloodtime": 20}
# A browser cannot host: in its pass the Linux game hosts for it.
server = Game("server", CONFIG, native=harness.TARGET == "web")
client = Game("client", CONFIG)
CLIENT_LOST = r"Couldn't receive client data!\n"
SERVER_LOST = r"Error: Received 0 bytesCouldn't receive server data!\n"
SERVER_GONE = r"(Error: Received -?\d+ bytesCouldn't receive server data!|SDLNet_TCP_Send: .*\n" \
    r"Couldn't send data to server!)\n"  # a failed receive, or a failed send
RATE = (630, 345, 170, 32)  # where a match shows its frame rate
PIECES = (370, 360, 420, 7)  # what the peer serves: cannon 1, shield 1, cannon 2, shield 2
GARBAGE = [random.Random(7).randbytes(1500), b"\xff" * 1500, b"-" * 1500, b"9" * 1500,
           (string.ascii_letters * 30)[:1500].encode()]


def play():
    """Both menus; the server waits, the client types the loopback address and connects"""
    for game in (server, client):
        game.start(menu=True)
    server.host()
    client.join("127.0.0.1", server.in_match)
    wait(client.in_match, "the client shows no field after connecting")


def joiner_moves(host, joiner):
    """Left on the joiner moves player 2 right on the host and the joiner's own cannon left."""
    def edges():  # the left edges of player 2's cannon on the host, player 1's on the joiner
        return (left_edge(host.shot(), host.picture("background"), 137, 70),
                left_edge(joiner.shot(), joiner.picture("background"), 390, 70))

    before = edges()
    expect(None not in before, f"a cannon is missing from its row: {before}")
    joiner.key("Left", 0.3, until=lambda: None not in (now := edges()) and now[0] > before[0]
               and now[1] < before[1], what=f"Left on the {joiner.name} moved no cannon")


def client_keys():
    """Left on the client moves player 2 right on the server and its own cannon left"""
    joiner_moves(server, client)
    # F held over many frames shows the client's frame rate once, and steadily.
    rate = lambda: differing(client.shot(), client.picture("background"), RATE) > 100
    shown = client.hold(0.3, lambda: [rate() for _ in range(8)], keys=["f"])
    expect(shown == [True] * 8, f"the rate while F is held: {shown}")
    time.sleep(0.5)  # a press counts after a frame that saw F up: frames wait for the server
    client.key("f", until=lambda: not rate(), what="a second F did not hide the rate")


def client_shots():
    """A client shot is heard on both sides; client shots kill a sheep of the server's herd"""
    marks = [game.sound_mark() for game in (server, client)]
    client.key("space", until=lambda: server.heard(marks[0]) and client.heard(marks[1]),
               what="a side did not hear the client's shot")
    # The server resolves the hit and its message carries the sheep sound back, which
    # the client reports as a "sheep 1 ..." line. Only the client fires in this match.
    moves = itertools.cycle(["Right"] * 8 + ["Left"] * 8)  # along the server's herd and back
    wait(lambda: re.search("^sheep 1 ", client.stderr(), re.M) or client.key("space")
         or client.key(next(moves), 0.25), "no shot of the client killed a server's sheep", 40, 0.4)


def escape_on_either_side():
    """ESC on the client, then in a second match on the server, ends both matches; both
    quit with 0"""
    for leaving, staying, wrote in [(client, server, CLIENT_LOST), (server, client, SERVER_GONE)]:
        if leaving is server:
            server.host()
            client.join("127.0.0.1", lambda: server.in_match() and client.in_match())
        mark = len(staying.stderr())
        leaving.leave_with_escape(f"ESC did not bring the {leaving.name}'s menu back")
        staying.expect_back(mark, wrote, f"ESC on the {leaving.name}")
    for game in (server, client):  # both quit from their menus, and come up again
        game.quit_with_escape()
        game.start(menu=True)


def exchange(peer, messages, answer, piece=1500):
    """Plays a frame per message: the message in pieces of piece bytes, then the game's
    answer of that size (a client's answer is its next input, sent once it has drawn)."""
    for message in messages:
        send_in_pieces(peer, message, piece)
        expect(len(reply := receive(peer, answer)) == answer, f"no answer to {message[:8]!r}...")
    return reply


def frames(peer, values, piece=4):
    """Plays as the client; returns the x of the four pieces in the last state."""
    state = exchange(peer, [input_message(value) for value in values], 1500, piece)
    return [int(state[3 * k:3 * k + 3]) for k in range(4)]


def silent_peer(game, connected):
    """While the game waits for a silent peer, ESC leaves the match without a message and
    the peer sees the connection close; then the close button ends the game with 0."""
    with connected() as peer:
        mark = len(game.stderr())
        game.leave_with_escape("ESC did not leave a match with a silent peer")
        expect(receive(peer, 1) == b"", "the peer did not see the connection close")
        expect(game.stderr()[mark:] == "", f"leaving with ESC wrote {game.stderr()[mark:]!r}")
    with connected() as peer:
        game.close()
        if harness.TARGET == "web":  # a closed tab takes its game along, status and all
            expect(receive(peer, 1) == b"", "the peer did not see the tab's game go")
        else:
            game.expect_exit(0, "closing the window while the peer is silent", 5)


def server_and_faulty_client():
    """The server and a client that breaks off, splits its input, sends values out of range
    or goes silent"""
    def one_byte_at_a_time(peer):
        start = frames(peer, [0], 1)[2]
        moved = frames(peer, [1] * 5, 1)[2]  # the client's Left is +x here
        expect(moved == start + 50, f"five inputs in single bytes moved {start} to {moved}")

    def out_of_range(peer):
        edge = frames(peer, [1] * 40)
        expect(edge[2] == 800 - 60, f"player 2's cannon (60 wide) was pushed to {edge[2]}")
        for value in (-1, 9, 19, 99, 1000000, 0x7FFFFFFF, -0x80000000):
            now = frames(peer, [value] * 10)
            expect(now == edge, f"the value {value} moved the pieces from {edge} to {now}")

    for what, behaviour in [("connects and closes at once", lambda peer: None),
                            ("sends 2 of 4 bytes", lambda peer: peer.sendall(input_message(0)[:2])),
                            ("sends its input one byte at a time", one_byte_at_a_time),
                            ("closes in mid-match", lambda peer: frames(peer, [0] * 20)),
                            ("sends values out of range", out_of_range)]:
        server.host()
        mark = len(server.stderr())
        with connect() as peer:
            behaviour(peer)
        server.expect_back(mark, CLIENT_LOST, f"a client that {what}")

    def hosted():
        server.host()
        peer = connect()
        frames(peer, [0])  # the server has taken the connection: let it wait for the next input
        time.sleep(1)
        return peer

    silent_peer(server, hosted)


def client_and_faulty_server():
    """The client and a server that breaks off, splits its messages, sends garbage or goes
    silent"""
    listener = listen()

    def drawn_normally(peer):
        exchange(peer, [state_message(PIECES)] * 15, 4, 100)
        image, background = client.shot(), client.picture("background")
        # Turned half round: the peer's player 2 is the client's player 1, at the bottom.
        for name, x, y in [("cannon1", 740 - PIECES[2], 390), ("shield1", 680 - PIECES[3], 465),
                           ("cannon2", 740 - PIECES[0], 137), ("shield2", 680 - PIECES[1], 105)]:
            expect(piece_at(image, background, client.picture(name), x, y), f"{name} not at x {x}")

    def blood_fades(peer):
        """A splash that the server starts shows, and is gone when the client's bloodtime
        (20 frames) has run out."""
        h, w = client.picture("blood").shape[:2]
        box = (800 - w - 380, 600 - h - 290, w, h)  # turned half round
        splash = lambda: differing(client.shot(), client.picture("background"), box) > 50
        exchange(peer, [state_message(PIECES, blood="3802901")], 4)
        # The client waits for the next message with the splash drawn; a browser may show
        # it a moment after it was drawn.
        wait(splash, "the server's blood splash does not show", 2)
        exchange(peer, [state_message(PIECES, blood="3802900")] * 25, 4)
        expect(not splash(), "the blood splash stays after its time")

    def explosion_blends(peer):
        """An explosion that the server starts goes through the strip's frames, each blended
        by its own alpha over the field, and is gone when the client's explotime (20 frames)
        has run out."""
        strip = np.asarray(Image.open(client.theme_file("explosion")).convert("RGBA"), np.int16)
        h, w = strip.shape[0], strip.shape[1] // 20  # exploanim 20
        box = (800 - w - 300, 600 - h - 270, w, h)  # turned half round
        field = crop(client.picture("background"), box)
        for frame in range(1, 4):  # the client counts its effects down before it draws them
            exchange(peer, [state_message(PIECES, explosion="300270" + "01"[frame == 1])], 4)
            part = strip[:, frame * w:(frame + 1) * w]
            alpha = part[:, :, 3:] / 255
            drawn = np.rint(part[:, :, :3] * alpha + field * (1 - alpha))
            wait(lambda: (np.abs(crop(client.shot(), box) - drawn).max(axis=2) > 8).sum() < 20,
                 f"explosion frame {frame} is not drawn as the strip's alpha says", 2)
        exchange(peer, [state_message(PIECES)] * 18, 4)
        expect(differing(client.shot(), client.picture("background"), box) == 0,
               "the explosion stays after its time")

    def joined(waiting=True):  # 127.1 is 127.0.0.1; waiting: the client waits for the state
        peer = client.join("127.1", lambda: attempt(lambda: listener.accept()[0]))
        expect(not waiting or len(receive(peer, 4)) == 4, "no input from the client")
        return peer

    for what, behaviour, messages in [
            ("accepts and closes at once", None, SERVER_GONE),
            ("sends 700 bytes", lambda peer: peer.sendall(state_message()[:700]), SERVER_LOST),
            ("sends its messages in pieces of 100 bytes",
             lambda peer: drawn_normally(peer) or blood_fades(peer) or explosion_blends(peer),
             SERVER_LOST),
            ("sends garbage, then valid messages",
             lambda peer: exchange(peer, GARBAGE * 9, 4) or drawn_normally(peer),
             SERVER_LOST)]:
        peer = joined(behaviour is not None)
        if behaviour:
            behaviour(peer)
        mark = len(client.stderr())
        peer.close()
        client.expect_back(mark, messages, f"a server that {what}")
    silent_peer(client, joined)


def no_server():
    """A refused connection, an empty address and the any-host address (it would make the
    client listen) end the client with status 2"""
    if harness.TARGET == "web":  # with a bridge there, a host that is not would look like one
        bridge(False)            # that ends the connection at once
    for what, address in [("a refused connection", "127.0.0.1"), ("an empty address", ""),
                          ("the any-host address", "0")]:
        client.start(menu=True)
        client.join(address, client.ended)
        client.expect_exit(2, what)
        expect(re.search("^5 SDLNet_TCP_Open: ", client.stderr(), re.M), f"{what}: no such line")


def across_builds():
    """The Windows game hosting the Linux game, then the reverse: the match plays, ESC on
    the joiner ends it on both sides and both menus come back"""
    linux = Game("linux", CONFIG, native=True)
    for host, joiner in [(server, linux), (linux, client)]:
        for game in (host, joiner):
            if game.proc is None or game.ended():
                game.start(menu=True)
        host.host()
        joiner.join("127.0.0.1", host.in_match)
        wait(joiner.in_match, f"the {joiner.name} shows no field after connecting")
        joiner_moves(host, joiner)
        mark = len(host.stderr())
        joiner.leave_with_escape(f"ESC did not bring the {joiner.name}'s menu back")
        host.expect_back(mark, CLIENT_LOST, f"ESC on the {joiner.name}")


# A browser joins the Linux game all through its pass; the Windows game meets it here.
run([play, client_keys, client_shots, escape_on_either_side, server_and_faulty_client,
     client_and_faulty_server] + ([across_builds] if harness.TARGET == "wine" else []) +
    [no_server])
