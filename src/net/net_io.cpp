#include "net/net_io.h"

#include <cstdio>
#include <cstring>

#include "input/polled_input.h"
#include "net/wire.h"
#include "platform/platform.h"

namespace {

constexpr Uint32 kWaitSliceMs = 20;
constexpr Uint32 kBrowserLookAgainMs = 3;

// Returns once the socket has something to read (data, or the peer's close), or false
// when whileWaiting gives up. Data already there is read without delay.
bool AwaitReadable(TCPsocket socket, const ReceiveWait& wait) {
    for (;;) {
        int ready = SDLNet_CheckSockets(wait.set, kWaitSliceMs);
        if (ready < 0 || (ready > 0 && SDLNet_SocketReady(socket))) {
            return true;  // an error is the receive's to report
        }
        // The desktop has just waited a slice inside SDL_net; a browser cannot wait there
        // and looks again after a millisecond or so.
        YieldWhileWaiting(kBrowserLookAgainMs);
        if (wait.whileWaiting != nullptr && wait.whileWaiting()) {
            return false;
        }
    }
}

}  // namespace

int ReceiveExactly(TCPsocket socket, void* buffer, int size, const ReceiveWait& wait) {
    Uint8* bytes = static_cast<Uint8*>(buffer);
    int received = 0;
    while (received < size) {
        if (wait.set != nullptr && !AwaitReadable(socket, wait)) {
            return -kReceiveAbandoned;
        }
        int result = SDLNet_TCP_Recv(socket, bytes + received, size - received);
        if (result <= 0) {
            return result;
        }
        received += result;
    }
    return received;
}

int SendInput(TCPsocket socket, const GameSettings& settings) {
    Uint8 message[kInputMessageSize];
    EncodeInputMessage(InputValueFor(PollInput(), settings.shiftslow), message);
    if (SDLNet_TCP_Send(socket, message, kInputMessageSize) < kInputMessageSize) {
        fprintf(stderr, "SDLNet_TCP_Send: %s\n", SDL_GetError());
        return 1;
    }
    return 0;
}

int ReceiveInput(TCPsocket socket, MatchState* match, ScreenSize screen, const ReceiveWait& wait) {
    Uint8 message[kInputMessageSize];
    int result = ReceiveExactly(socket, message, kInputMessageSize, wait);
    if (result == -kReceiveAbandoned) {
        return kReceiveAbandoned;
    }
    if (result < kInputMessageSize) {
        // A lost client holds no key any more.
        gPreviousRemoteFire = 0;
        return 1;
    }
    ApplyRemoteInput(match, screen, DecodeInputMessage(message));
    return 0;
}

int SendState(TCPsocket socket, const MatchState& match) {
    char message[kStateMessageSize];
    EncodeStateMessage(match, message);
    int textLength = static_cast<int>(strnlen(message, kStateMessageSize));
    if (SDLNet_TCP_Send(socket, message, kStateMessageSize) < textLength + 1) {
        fprintf(stderr, "SDLNet_TCP_Send: %s\n", SDL_GetError());
        return 1;
    }
    return 0;
}

int ReceiveState(TCPsocket socket, ScreenSize screen, MatchState* match, const ReceiveWait& wait) {
    char message[kStateMessageSize];
    int result = ReceiveExactly(socket, message, kStateMessageSize, wait);
    if (result == -kReceiveAbandoned) {
        return kReceiveAbandoned;
    }
    if (result < kStateMessageSize) {
        fprintf(stderr, "Error: Received %i bytes", result);
        return 1;
    }
    DecodeStateMessage(message, match, screen);
    return 0;
}
