// The two messages of a network match, as pure encoders and decoders over byte buffers.
//
// InputMessage, client to server: one 32-bit little-endian integer, moveCode + 10 x fire.
// StateMessage, server to client: 854 characters of fixed-width decimal fields, a zero
// byte, and zero padding to 1500 bytes.
#pragma once

#include <SDL/SDL.h>

#include <cstddef>

#include "input/polled_input.h"
#include "match/match_state.h"

constexpr int kGamePort = 7882;
constexpr int kInputMessageSize = 4;
constexpr int kStateMessageSize = 1500;
constexpr int kStateTextLength = 854;

// Whether the last remote message had fire set. Process-wide: it carries over from one
// network match to the next.
extern int gPreviousRemoteFire;

// The client's keys as moveCode + 10 x fire, with the slowBit taken from shiftslow.
int InputValueFor(const InputSnapshot& input, int shiftslow);

void EncodeInputMessage(int value, Uint8 out[kInputMessageSize]);
int DecodeInputMessage(const Uint8 in[kInputMessageSize]);

// Applies a received input value to player 2 on the server: move, clamp, fire once per press.
void ApplyRemoteInput(MatchState* match, ScreenSize screen, int value);

// Pads a decimal text of one or two characters to three with leading "0"s.
void PadNumber(char* text);

// Builds the whole 1500-byte message from the server's match.
void EncodeStateMessage(const MatchState& match, char out[kStateMessageSize]);

// Writes a received message into the client's match, turned half round (both axes
// mirrored by the client's own pictures, players exchanged), and sets the sound flags.
void DecodeStateMessage(const char in[kStateMessageSize], MatchState* match, ScreenSize screen);
