// The browser: emscripten's SDL 1.2, which draws with a canvas and plays with Web Audio.
// The page (packaging/web) shows the frames, goes full screen and prints the messages.
// The game's loops never return to the browser, so every wait hands the page its turn
// (the build uses ASYNCIFY).
#include <SDL/SDL_mixer.h>
#include <emscripten.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

// emscripten's SDL keeps no error text; the game and SDL_net report theirs through these.
namespace {

char gSdlError[256];  // the one error text SDL keeps for the whole process

}  // namespace

extern "C" void SDL_SetError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(gSdlError, sizeof gSdlError, format, arguments);
    va_end(arguments);
}

extern "C" const char* SDL_GetError(void) {
    return gSdlError;
}

// Provided by web_library.js: hands the page one turn of its event loop, without the
// four-millisecond floor a timer would have.
extern "C" void meadow_yield_to_page(void);

SDL_Surface* OpenDisplay(int width, int height, bool fullscreen) {
    SDL_Surface* screen = SDL_SetVideoMode(width, height, 0, 0);
    // A page may go full screen only while it answers the player's click, and the game
    // opens its display before it first waits: still inside the click that started it.
    if (screen != nullptr && fullscreen) {
        EM_ASM(if (Module.goFullscreen) Module.goFullscreen(););
    }
    return screen;
}

void ClearScreen(SDL_Surface* screen) {
    // Colour 0 is transparent on a canvas and would leave the last picture showing.
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
}

void ShowScreen(SDL_Surface* /*screen*/) {
    // The game draws on a canvas the player never sees; only this copy is shown.
    EM_ASM(if (Module.showFrame) Module.showFrame(););
    meadow_yield_to_page();
}

const Uint8* HeldKeyTable(int* count) {
    return SDL_GetKeyboardState(count);
}

void YieldWhileWaiting(Uint32 milliseconds) {
    // A timer may wake the game a few milliseconds late, so it sleeps all but the last
    // two and hands the page only its turn after that: a frame lasts as long as on the
    // desktop without spinning through it.
    constexpr Uint32 kTimerLateness = 2;
    if (milliseconds > kTimerLateness) {
        emscripten_sleep(milliseconds - kTimerLateness);
    } else {
        meadow_yield_to_page();
    }
}

void SetEnvironmentDefault(const char* name, const char* value) {
    setenv(name, value, 0);
}

TCPsocket OpenConnection(IPaddress* address) {
    // emscripten's sockets open a WebSocket to the URL the page names; the host's bridge
    // listens on the port after the game's and passes the bytes on to the game.
    const Uint32 host = SDL_SwapBE32(address->host);
    char bridge[64];
    snprintf(bridge, sizeof bridge, "%u.%u.%u.%u:%u/", host >> 24, (host >> 16) & 255u,
             (host >> 8) & 255u, host & 255u, SDL_SwapBE16(address->port) + 1u);
    EM_ASM(
        {
            Module.websocket = Module.websocket || {};
            Module.websocket.url =
                (location.protocol == "https:" ? "wss://" : "ws://") + UTF8ToString($0);
        },
        bridge);
    return SDLNet_TCP_Open(address);
}

void PlaySoundOnChannel(int channel, Mix_Chunk* chunk) {
    // A channel here plays on beside its last sound unless that is halted first.
    Mix_HaltChannel(channel);
    Mix_PlayChannel(channel, chunk, 0);
}
