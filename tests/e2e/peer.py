"""The peer: speaks the wire protocol on loopback, port 7882, in place of the other game."""
import atexit, os, socket, struct, subprocess, time

import harness
from harness import attempt, wait


def input_message(value):
    return struct.pack("<i", value)


def state_message(pieces=(370, 360, 420, 7), sound=0, blood="0" * 7, explosion="0" * 7):
    """A StateMessage: the pieces at x, two sheep alive in each herd (an undecided match),
    the first explosion and blood slots (x, y, start mark) and every other slot empty."""
    herd = lambda y: f"100{y:03d}1600{y:03d}1" + "0" * 7 * 18
    text = "".join(f"{x:03d}" for x in pieces) + herd(540) + herd(20) + "0" * 140 + \
        explosion.ljust(140, "0") + blood.ljust(280, "0") + f"{sound}x"
    return text.encode().ljust(1500, b"\0")


def connect():
    return wait(lambda: attempt(lambda: socket.create_connection(("127.0.0.1", 7882), 5)),
                "the game's server took no connection", 20, 0.1)


def listen():
    listener = socket.create_server(("127.0.0.1", 7882))
    listener.settimeout(0.05)
    return listener


def send_in_pieces(peer, message, size):
    peer.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)  # each piece leaves at once
    for start in range(0, len(message), size):
        peer.sendall(message[start:start + size])
        time.sleep(0.001)


def receive(peer, size):
    """Receives size bytes, or fewer when the game closes the connection or stays silent."""
    peer.settimeout(10 * harness.SLOW)
    data = b""
    while len(data) < size and (chunk := attempt(lambda: peer.recv(size - len(data)))):
        data += chunk
    return data


BRIDGE = []


def bridge(on):
    """A browser reaches a host through the WebSocket bridge beside it, on the port after
    the game's, as the README tells hosts to run it."""
    while BRIDGE:
        BRIDGE.pop().kill()
    if on:
        log = open(os.path.join(harness.WORK, "bridge.log"), "w")
        BRIDGE.append(subprocess.Popen(["websockify", "127.0.0.1:7883", "127.0.0.1:7882"],
                                       stdout=log, stderr=log))
        atexit.register(bridge, False)
        wait(lambda: attempt(lambda: socket.create_connection(("127.0.0.1", 7883), 1).close()
                             or True), "the WebSocket bridge does not listen")
