// Measures the cost of one match frame's work (rules, drawing, erasing, the state
// message both ways) and of drawing a menu's worth of text, on software surfaces.
// Run: cmake --build build --target frame_bench && SDL_VIDEODRIVER=dummy build/bench/frame_bench
#include <SDL/SDL.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "match/match_rules.h"
#include "match/match_state.h"
#include "match/match_view.h"
#include "net/wire.h"
#include "text/text.h"

namespace {

SDL_Surface* Make(int w, int h, int bpp = 32) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bpp, 0, 0, 0, 0);
    SDL_FillRect(surface, nullptr, 1);
    if (bpp == 8) {
        SDL_Color colours[256];
        for (int i = 0; i < 256; ++i) {
            colours[i] = SDL_Color{static_cast<Uint8>(i), static_cast<Uint8>(255 - i), 128, 0};
        }
        SDL_SetColors(surface, colours, 0, 256);
    }
    return surface;
}

template <typename Work>
double NanosecondsPer(int rounds, Work work) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        work(i);
    }
    auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / rounds;
}

}  // namespace

int main() {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Surface* screen = SDL_SetVideoMode(800, 600, 32, 0);
    ThemeAssets assets{};
    assets.background = Make(800, 600);
    assets.cannon1 = assets.cannon2 = Make(60, 70, 8);
    assets.shield1 = assets.shield2 = Make(120, 28, 8);
    for (SDL_Surface*& sheep : assets.sheeppictures) {
        sheep = Make(48, 36, 8);
    }
    assets.shot = Make(8, 16, 8);
    assets.blood = Make(40, 28, 8);
    assets.explosion = Make(1280, 64);
    for (SDL_Surface*& picture : assets.pictures) {
        picture = Make(500, 160, 8);
    }
    TextStyle style{Make(780, 32, 8), Make(780, 32, 8), Make(840, 32, 8), Make(600, 32, 8),
                    Make(420, 38)};

    GameSettings settings{};
    settings.speedslow = 6;
    settings.speedfast = settings.speednormal = 12;
    settings.speedshift = 6;
    settings.shiftslow = 1;
    settings.sheepspeed = 3;
    settings.sheepcolor1 = 1;
    settings.sheepmax = 20;
    settings.bloodtime = 300;
    settings.explotime = 20;
    settings.maxshots = 10;
    settings.shotspeed = 12;
    settings.exploanim = 20;
    settings.frameduration = 30;
    MatchStatus status{};
    for (int i = 0; i < 5; ++i) {
        status.pictures[i] = assets.pictures[i];
    }
    status.demo = 1;
    MatchTables tables{};
    MatchState match = MakeMatchState(&tables, settings, status);
    ScreenSize size{800, 600};
    srand(1);
    SetupMatch(&match, size, &assets, 0);
    match.status.showFps = 1;

    static Uint8 keys[SDLK_LAST] = {};
    InputSnapshot input;
    input.keys = keys;
    input.keyCount = SDLK_LAST;

    const int kFrames = 3000;
    double rules = NanosecondsPer(kFrames, [&](int) {
        HandleMatchInput(&match, size, input);
        MoveSheep(&match, size);
        ComputerPlayer(&match, size, 2);
        ComputerPlayer(&match, size, 1);
        ResolveHits(&match);
        UpdateOutcome(&match);
    });
    double drawing = NanosecondsPer(kFrames, [&](int) {
        DrawMatch(&match, screen, &style);
        EraseDrawnAreas(assets.background, screen, match.drawnAreas, match.drawnCount);
    });
    char message[kStateMessageSize];
    MatchState client = MakeMatchState(&tables, settings, status);
    client.herds[0][0] = match.herds[0][0];
    memcpy(client.herds, match.herds, sizeof client.herds);

    double wire = NanosecondsPer(kFrames, [&](int) {
        EncodeStateMessage(match, message);
        DecodeStateMessage(message, &client, size);
    });
    char line[101];
    double text = NanosecondsPer(kFrames, [&](int) {
        for (int row = 0; row < 12; ++row) {
            memset(line, 'a', 40);
            line[40] = '\0';
            SDL_Rect area = {30, static_cast<Sint16>(100 + 35 * row), 760, 0};
            DrawText(line, screen, &style, area);
        }
    });

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    printf("match rules per frame:        %8.0f ns\n", rules);
    printf("draw + erase per frame:       %8.0f ns\n", drawing);
    printf("state message out and in:     %8.0f ns\n", wire);
    printf("twelve 40-glyph text lines:   %8.0f ns\n", text);
    printf("MatchState size:              %8zu bytes\n", sizeof(MatchState));
    printf("peak resident memory:         %8ld KiB\n", usage.ru_maxrss);
    SDL_Quit();
    return 0;
}
