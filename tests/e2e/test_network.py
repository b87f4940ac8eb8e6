#!/usr/bin/env python3
"""Two copies of the game play a network match over loopback: the server's waiting
screen, the client's address entry, the client's keys moving its cannon on both screens,
a client shot heard on both sides and killing a server sheep, ESC on either side ending
both matches, a second match in the same run, and a client that finds no server."""
import time

from harness import Game, expect, left_edge, run, setup, wait

setup(network=True)
SETTINGS = {"sheepmax": 20, "maxshots": 3, "frameduration": 30}
server, client = Game("server", SETTINGS), Game("client", SETTINGS)
SERVER_BAND, CLIENT_BAND = (137, 70), (390, 70)  # the rows of player 2's and player 1's cannon
RECEIVE_OR_SEND = r"(Error: Received -?\d+ bytesCouldn't receive server data!|SDLNet_TCP_Send: [^\n]*\nCouldn't send data to server!)\n"


def play():
    """Both menus; the server waits, the client types the loopback address and connects"""
    for game in (server, client):
        game.start()
        game.enter_menu()
    server.host()
    client.join("127.0.0.1", server.in_match)
    wait(client.in_match, "the client shows no field after connecting")


def client_keys():
    """Left on the client moves player 2 right on the server and its own cannon left"""
    def edges():
        return (left_edge(server.shot(), server.picture("background"), *SERVER_BAND),
                left_edge(client.shot(), client.picture("background"), *CLIENT_BAND))

    def moved_apart():
        now = edges()
        return None not in now and now[0] > before[0] and now[1] < before[1]

    before = edges()
    expect(None not in before, f"a cannon is missing from its row: {before}")
    client.key("Left", 0.3, until=moved_apart, what=f"Left on the client did not move the cannons both ways from {before}")


def client_shots():
    """A client shot is heard on both sides; client shots kill a sheep of the server's herd"""
    heard = [game.loud() for game in (server, client)]
    client.key("space", until=lambda: server.loud() > heard[0] and client.loud() > heard[1],
               what="a side did not hear the client's shot")
    # The server resolves the hit and its message carries the sheep sound back, which
    # the client reports as a "sheep 1 ..." line. Only the client fires in this match.
    for attempt in range(16):
        if client.wrote("^sheep 1 "):
            break
        client.key("space")
        client.key("Right" if attempt < 8 else "Left", 0.25)
        time.sleep(0.4)
    wait(lambda: client.wrote("^sheep 1 "), "no shot of the client killed a sheep of the server's herd", 5)


def escape_on_either_side():
    """ESC on the client, then in a second match on the server, ends both matches"""
    for leaving, staying, message in [(client, server, r"Couldn't receive client data!\n"),
                                      (server, client, RECEIVE_OR_SEND)]:
        if leaving is server:
            server.host()
            client.join("127.0.0.1", lambda: server.in_match() and client.in_match())
        mark = len(staying.stderr())
        leaving.leave_with_escape(f"ESC did not bring the {leaving.name}'s menu back")
        staying.expect_back(mark, message, f"ESC on the {leaving.name}")


def both_quit():
    """Both quit from their menus with status 0"""
    for game in (server, client):
        game.move(700, 560)
        game.key("Escape", until=game.ended, what=f"ESC did not quit the {game.name}")
        game.expect_exit(0, f"ESC on the {game.name}'s menu")


def no_server():
    """A refused connection and an empty address end the client with status 2"""
    for what, address in [("a refused connection", "127.0.0.1"), ("an empty address", "")]:
        client.start()
        client.enter_menu()
        client.join(address, client.ended)
        client.expect_exit(2, what)
        expect(client.wrote("^5 SDLNet_TCP_Open: "), f"{what} wrote no '5 SDLNet_TCP_Open' line")


run([play, client_keys, client_shots, escape_on_either_side, both_quit, no_server])
