// Sending and receiving the two messages over a connected SDL_net socket.
#pragma once

#include <SDL/SDL_net.h>

#include "match/match_state.h"

// How a receive waits for its peer. Without a set it blocks inside the receive itself;
// with a set holding the socket it waits in short slices and calls whileWaiting between
// them, so the window stays answerable while the peer is silent. whileWaiting returns
// true to give the wait up.
struct ReceiveWait {
    SDLNet_SocketSet set = nullptr;
    bool (*whileWaiting)() = nullptr;
};

// What a receive returns when whileWaiting gave the wait up.
constexpr int kReceiveAbandoned = 2;

// Receives exactly size bytes, however the peer's data arrives in pieces. Returns the
// number received, the first receive result of 0 or less, or -kReceiveAbandoned.
int ReceiveExactly(TCPsocket socket, void* buffer, int size, const ReceiveWait& wait = {});

// Client: sends this frame's keys. 0 on success, 1 on failure.
int SendInput(TCPsocket socket, const GameSettings& settings);
// Server: receives the client's keys and applies them to player 2. 0 on success, 1 on
// failure, kReceiveAbandoned when the wait was given up.
int ReceiveInput(TCPsocket socket, MatchState* match, ScreenSize screen,
                 const ReceiveWait& wait = {});
// Server: sends the state of the frame.
int SendState(TCPsocket socket, const MatchState& match);
// Client: receives the state of the frame and writes it, mirrored, into its match.
// 0 on success, 1 on failure, kReceiveAbandoned when the wait was given up.
int ReceiveState(TCPsocket socket, ScreenSize screen, MatchState* match,
                 const ReceiveWait& wait = {});
