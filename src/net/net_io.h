// Sending and receiving the two messages over a connected SDL_net socket.
#pragma once

#include <SDL/SDL_net.h>

#include "match/match_state.h"

// Receives exactly size bytes, however the peer's data arrives in pieces. Returns the
// number received, or the first receive result of 0 or less.
int ReceiveExactly(TCPsocket socket, void* buffer, int size);

// Client: sends this frame's keys. 0 on success, 1 on failure.
int SendInput(TCPsocket socket, const GameSettings& settings);
// Server: receives the client's keys and applies them to player 2.
int ReceiveInput(TCPsocket socket, MatchState* match, ScreenSize screen);
// Server: sends the state of the frame.
int SendState(TCPsocket socket, const MatchState& match);
// Client: receives the state of the frame and writes it, mirrored, into its match.
int ReceiveState(TCPsocket socket, ScreenSize screen, MatchState* match);
