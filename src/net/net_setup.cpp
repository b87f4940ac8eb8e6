#include "net/net_setup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "net/wire.h"
#include "platform/platform.h"
#include "text/bounded_text.h"

const char kDefaultServerAddress[] = "192.168.0.2";

namespace {

constexpr int kSpinnerPasses = 40;
constexpr int kPassesPerSymbol = 10;
constexpr int kTextX = 30;

// Main-keyboard digits, the period, Backspace and Return, in the order they are tested.
constexpr SDLKey kAddressKeys[] = {SDLK_1,      SDLK_2,         SDLK_3,     SDLK_4, SDLK_5,
                                   SDLK_6,      SDLK_7,         SDLK_8,     SDLK_9, SDLK_0,
                                   SDLK_PERIOD, SDLK_BACKSPACE, SDLK_RETURN};

const SDLKey* FirstHeldAddressKey(const InputSnapshot& input) {
    for (const SDLKey& key : kAddressKeys) {
        if (KeyHeld(input, key)) {
            return &key;
        }
    }
    return nullptr;
}

char CharacterOf(SDLKey key) {
    if (key == SDLK_PERIOD) {
        return '.';
    }
    return static_cast<char>('0' + (key - SDLK_0));
}

AddressAction ActOnKey(AddressEntry* entry, SDLKey key) {
    size_t length = strnlen(entry->text, kAddressCapacity);
    if (key == SDLK_RETURN) {
        return AddressAction::Connect;
    }
    if (key == SDLK_BACKSPACE) {
        if (length == 0) {
            return AddressAction::None;
        }
        entry->text[length - 1] = '\0';
        return AddressAction::Edited;
    }
    // A full text takes no further characters.
    if (length + 1 >= kAddressCapacity) {
        return AddressAction::None;
    }
    char added[2] = {CharacterOf(key), '\0'};
    AppendText(entry->text, added);
    return AddressAction::Edited;
}

void DrawLine(const char* text, int y, SDL_Surface* screen, TextStyle* style) {
    // DrawText may write line breaks into its text, so it gets a copy.
    char line[kTextMaxLength + 1];
    CopyText(line, text);
    SDL_Rect area{static_cast<Sint16>(kTextX), static_cast<Sint16>(y),
                  static_cast<Uint16>(screen->w), static_cast<Uint16>(screen->h)};
    DrawText(line, screen, style, area);
}

void DrawWaitingScreen(const char* symbol, SDL_Surface* screen, TextStyle* style) {
    char line[32] = "";
    AppendText(line, symbol);
    AppendText(line, "Waiting for Player 2...");
    AppendText(line, symbol);
    ClearScreen(screen);
    DrawLine(line, 200, screen, style);
    DrawLine("Press ESC to abort...", 450, screen, style);
    ShowScreen(screen);
}

void DrawAddressScreen(const AddressEntry& entry, SDL_Surface* screen, TextStyle* style) {
    char shown[kAddressCapacity + 1];
    CopyText(shown, entry.text);
    // The cursor shows in the second half of every 500 ms.
    if (SDL_GetTicks() % 500 >= 250) {
        AppendText(shown, "_");
    }
    ClearScreen(screen);
    DrawLine("Type in IP of server:", 100, screen, style);
    DrawLine(shown, 200, screen, style);
    DrawLine("Press ESC to abort...", 450, screen, style);
    ShowScreen(screen);
}

[[noreturn]] void FailConnection() {
    fprintf(stderr, "5 SDLNet_TCP_Open: %s\n", SDL_GetError());
    exit(2);
}

// A text that does not resolve leaves SDL_net with "any" or "none" as the host, and
// opening that would make a listening socket instead of a connection.
TCPsocket ConnectTo(const char* addressText) {
    IPaddress address{};
    int resolved = SDLNet_ResolveHost(&address, addressText, kGamePort);
    if (resolved != 0 || address.host == INADDR_ANY || address.host == INADDR_NONE) {
        SDLNet_SetError("No server address: \"%s\"", addressText);
        FailConnection();
    }
    TCPsocket socket = OpenConnection(&address);
    if (socket == nullptr) {
        FailConnection();
    }
    return socket;
}

}  // namespace

const char* SpinnerSymbol(int pass) {
    static const char* const kSymbols[] = {" - ", " \\ ", " : ", " / "};
    int wrapped = ((pass % kSpinnerPasses) + kSpinnerPasses) % kSpinnerPasses;
    return kSymbols[wrapped / kPassesPerSymbol];
}

AddressAction StepAddressEntry(AddressEntry* entry, const InputSnapshot& input) {
    const SDLKey* key = FirstHeldAddressKey(input);
    if (key == nullptr) {
        entry->latch = 0;
        return AddressAction::None;
    }
    if (entry->latch != 0) {
        return AddressAction::None;
    }
    entry->latch = 1;
    return ActOnKey(entry, *key);
}

int WaitForClient(TCPsocket* connection, TCPsocket listening, SDL_Surface* screen,
                  TextStyle* style) {
    int pass = 0;
    for (;;) {
        DrainEvents();
        if (KeyHeld(PollInput(), SDLK_ESCAPE)) {
            return 1;
        }
        TCPsocket client = SDLNet_TCP_Accept(listening);
        if (client != nullptr) {
            *connection = client;
            return 0;
        }
        const char* symbol = SpinnerSymbol(pass);
        pass = (pass + 1) % kSpinnerPasses;
        DrawWaitingScreen(symbol, screen, style);
    }
}

int EnterServerAddress(TCPsocket* connection, SDL_Surface* screen, TextStyle* style) {
    AddressEntry entry{};
    CopyText(entry.text, kDefaultServerAddress);
    entry.latch = 0;
    for (;;) {
        DrainEvents();
        InputSnapshot input = PollInput();
        if (KeyHeld(input, SDLK_ESCAPE)) {
            return 1;
        }
        if (StepAddressEntry(&entry, input) == AddressAction::Connect) {
            *connection = ConnectTo(entry.text);
            return 0;
        }
        DrawAddressScreen(entry, screen, style);
    }
}
