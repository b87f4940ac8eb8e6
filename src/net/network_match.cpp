#include "net/network_match.h"

#include <SDL/SDL_net.h>

#include <cstdio>
#include <cstdlib>

#include "input/polled_input.h"
#include "match/match_pacing.h"
#include "match/match_rules.h"
#include "match/match_view.h"
#include "net/net_io.h"
#include "net/net_setup.h"
#include "net/wire.h"

int gPreviousFKey = 0;

namespace {

// Owns the network layer for one match: closing both sockets and shutting SDL_net down
// lets the next network match in the same run open the port again.
struct NetSession {
    TCPsocket listening = nullptr;
    TCPsocket connection = nullptr;
    ReceiveWait wait;  // set up once connected

    NetSession() {
        if (SDLNet_Init() == -1) {
            fprintf(stderr, "SDLNet_Init: %s\n", SDL_GetError());
            exit(2);
        }
    }
    ~NetSession() {
        if (wait.set != nullptr) {
            SDLNet_FreeSocketSet(wait.set);
        }
        if (connection != nullptr) {
            SDLNet_TCP_Close(connection);
        }
        if (listening != nullptr) {
            SDLNet_TCP_Close(listening);
        }
        SDLNet_Quit();
    }
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;
};

// Between the slices of a wait for the peer: the close button still ends the program,
// and Escape leaves the match as it does in a frame.
bool EscapeHeldWhileWaiting() {
    DrainEvents();
    return KeyHeld(PollInput(), SDLK_ESCAPE);
}

// A peer that vanishes without closing must not freeze the window, so receives wait
// on a socket set in short slices. Without a set they block as plain receives do.
void PrepareWait(NetSession* session) {
    session->wait.set = SDLNet_AllocSocketSet(1);
    if (session->wait.set != nullptr) {
        SDLNet_TCP_AddSocket(session->wait.set, session->connection);
        session->wait.whileWaiting = EscapeHeldWhileWaiting;
    }
}

// Returns true once connected, false when the player left the set-up screen.
bool Connect(NetSession* session, int isServer, SDL_Surface* screen, TextStyle* style) {
    if (!isServer) {
        return EnterServerAddress(&session->connection, screen, style) == 0;
    }
    IPaddress address{};
    SDLNet_ResolveHost(&address, nullptr, kGamePort);
    session->listening = SDLNet_TCP_Open(&address);
    if (session->listening == nullptr) {
        fprintf(stderr, "1 SDLNet_TCP_Open: %s\n", SDL_GetError());
        exit(2);
    }
    return WaitForClient(&session->connection, session->listening, screen, style) == 0;
}

// The server computes the frame: its own player, the client's keys, sheep and hits.
bool RunServerFrame(MatchState* match, const NetSession& session, ScreenSize size) {
    DrainEvents();
    if (HandleMatchInput(match, size, PollInput())) {
        return false;
    }
    TCPsocket connection = session.connection;
    int received = ReceiveInput(connection, match, size, session.wait);
    if (received == kReceiveAbandoned) {
        return false;
    }
    if (received != 0) {
        fprintf(stderr, "Couldn't receive client data!\n");
        return false;
    }
    MoveSheep(match, size);
    ResolveHits(match);
    if (SendState(connection, *match) != 0) {
        fprintf(stderr, "Couldn't send data to client!\n");
        return false;
    }
    return true;
}

void ToggleFpsOnPress(MatchState* match, const InputSnapshot& input) {
    int fHeld = KeyHeld(input, SDLK_f) ? 1 : 0;
    if (fHeld && gPreviousFKey == 0) {
        match->status.showFps = match->status.showFps ? 0 : 1;
    }
    gPreviousFKey = fHeld;
}

bool RunClientFrame(MatchState* match, const NetSession& session, ScreenSize size) {
    DrainEvents();
    TCPsocket connection = session.connection;
    if (SendInput(connection, match->settings) != 0) {
        fprintf(stderr, "Couldn't send data to server!\n");
        return false;
    }
    int received = ReceiveState(connection, size, match, session.wait);
    if (received == kReceiveAbandoned) {
        return false;
    }
    if (received != 0) {
        fprintf(stderr, "Couldn't receive server data!\n");
        return false;
    }
    InputSnapshot input = PollInput();
    if (KeyHeld(input, SDLK_ESCAPE)) {
        return false;
    }
    ToggleFpsOnPress(match, input);
    // The client's picture moves only when the server says so; it counts down only the
    // effects the server started.
    CountDownEffects(match);
    return true;
}

void FinishFrame(MatchState* match, const MatchResources& resources, const TextStyle* style) {
    UpdateOutcome(match);
    DrawMatch(match, resources.screen, style);
    PlayMatchSounds(resources.assets->sounds, &match->status);
    EraseDrawnAreas(resources.background, resources.screen, match->drawnAreas, match->drawnCount);
    PaceFrame(match);
}

}  // namespace

void NetworkMatch(const MatchResources& resources, GameSettings settings, MatchStatus status,
                  TextStyle style, int isServer) {
    SDL_Surface* screen = resources.screen;
    ScreenSize size{screen->w, screen->h};
    MatchState match = MakeMatchState(resources.tables, settings, status);
    // The client deals too: its sheep keep the colours and pictures of its own deal.
    SetupMatch(&match, size, resources.assets, SDL_GetTicks());
    ExplosionFrames explosionFrames;
    UseExplosionFrames(&match, resources.assets->explosion, &explosionFrames);

    NetSession session;
    if (!Connect(&session, isServer, screen, &style)) {
        return;
    }
    PrepareWait(&session);
    if (SDL_BlitSurface(resources.background, nullptr, screen, nullptr) < 0) {
        fprintf(stderr, "BlitSurface error: %s\n", SDL_GetError());
    }
    for (;;) {
        bool goOn = isServer ? RunServerFrame(&match, session, size)
                             : RunClientFrame(&match, session, size);
        if (!goOn) {
            return;
        }
        FinishFrame(&match, resources, &style);
    }
}
