#include "busiest_scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "match/match_rules.h"

namespace {

Sprite At(int x, int y, int state, SDL_Surface* image) {
    return Sprite{x, y, state, 0, 0, image};
}

}  // namespace

void DealBusiestScene(BusiestScene* b) {
    GameSettings settings = b->settings;
    settings.sheepmax = kHerdSize;
    settings.maxshots = kShotSlots;
    settings.explotime = 20;
    settings.exploanim = 20;
    settings.bloodtime = 300;
    MatchStatus status{};
    std::copy(std::begin(b->assets.pictures), std::end(b->assets.pictures), status.pictures);
    status.demo = 1;
    MatchState& m = b->scene;
    m = MakeMatchState(&b->tables, settings, status);
    srand(1);
    SetupMatch(&m, kBenchScreen, &b->assets, 0);
    for (int i = 0; i < kShotSlots; ++i) {
        m.shots[0][i] = At(40 + 75 * i, 330 + 4 * i, 1, b->assets.shot);
        m.shots[1][i] = At(60 + 75 * i, 230 + 4 * i, 1, b->assets.shot);
    }
    for (int i = 0; i < kExplosionSlots; ++i) {
        const Sprite& piece = m.pieces[i % 4];
        m.explosions[i] =
            At(piece.x + 20 * (i / 4) - 20, piece.y - 20, 20 - i % 12, b->assets.explosion);
    }
    for (int i = 0; i < kBloodSlots; ++i) {
        m.blood[i] = At(19 * i, i % 2 == 0 ? 540 : 20, 300 - i, b->assets.blood);
    }
    UseExplosionFrames(&m, b->assets.explosion, &b->explosionFrames);  // as the match loops do
    m.status.phase = Player1Won;  // a decided match stays decided
    m.status.showFps = 1;
    m.status.fps = 1000.0f;
    b->sceneTables = b->tables;
    b->match = m;
}

void SetUpBusiestScene(BusiestScene* b) {
    SDL_Init(SDL_INIT_VIDEO);
    b->screen = SDL_SetVideoMode(kBenchScreen.w, kBenchScreen.h, 32, 0);
    if (b->screen == nullptr) {
        fprintf(stderr, "bench: no video mode: %s\n", SDL_GetError());
        exit(1);
    }
    ReadConfigFiles(&b->settings, &b->names, &b->texts);
    LoadThemeAssets(&b->names, &b->assets);
    LoadFontSheets(&b->names, &b->assets, &b->style);
    DealBusiestScene(b);
}

void RestoreScene(BusiestScene* b) {
    b->tables = b->sceneTables;
    b->match = b->scene;
}

void RunRules(MatchState* match, const InputSnapshot& input) {
    HandleMatchInput(match, kBenchScreen, input);
    MoveSheep(match, kBenchScreen);
    ComputerPlayer(match, kBenchScreen, 2);
    ComputerPlayer(match, kBenchScreen, 1);
    ResolveHits(match);
    UpdateOutcome(match);
}

void EraseNothing(BusiestScene*) {}

void EraseDrawnList(BusiestScene* b) {
    EraseDrawnAreas(b->assets.background, b->screen, b->match.drawnAreas, b->match.drawnCount);
}

void BlitWholeBackground(BusiestScene* b) {
    SDL_Rect origin = {0, 0, 0, 0};
    SDL_BlitSurface(b->assets.background, nullptr, b->screen, &origin);
}

InputSnapshot NoKeysHeld() {
    static Uint8 keys[SDLK_LAST] = {};
    InputSnapshot input;
    input.keys = keys;
    input.keyCount = SDLK_LAST;
    return input;
}

void StartFrames(BusiestScene* b) {
    RestoreScene(b);
    DrawMatchFrame(&b->match, b->screen, &b->style);  // records the areas to erase
}

void RunFrame(BusiestScene* b, const InputSnapshot& input, FrameParts parts, int* frame) {
    if (parts.rules && ++*frame % kFramesPerDeal == 0) {
        RestoreScene(b);
    }
    if (parts.rules) {
        RunRules(&b->match, input);
    }
    if (parts.draw) {
        DrawMatchFrame(&b->match, b->screen, &b->style);
    }
    parts.erase(b);
}
