// The two set-up screens of a network match: the server waiting for its client, and
// the client typing the server's address.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_net.h>

#include "input/polled_input.h"
#include "text/text.h"

constexpr int kAddressCapacity = 50;
extern const char kDefaultServerAddress[];

// Server: polls for a client behind a spinner. 0 with *connection set, 1 on ESC.
int WaitForClient(TCPsocket* connection, TCPsocket listening, SDL_Surface* screen,
                  TextStyle* style);

// Client: the address entry screen; connects on Return. 0 with *connection set, 1 on ESC.
// A failed connection ends the program with status 2.
int EnterServerAddress(TCPsocket* connection, SDL_Surface* screen, TextStyle* style);

// The spinner symbol for a pass counter 0..39.
const char* SpinnerSymbol(int pass);

// The address text and its key latch.
struct AddressEntry {
    char text[kAddressCapacity];
    int latch;
};
enum class AddressAction { None, Edited, Connect };

// One pass of the key latch over the thirteen keys (main-keyboard digits, period,
// Backspace, Return): each press acts once, one key per pass; a full text takes no more.
AddressAction StepAddressEntry(AddressEntry* entry, const InputSnapshot& input);
