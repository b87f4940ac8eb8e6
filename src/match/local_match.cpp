#include "match/local_match.h"

#include <cstdio>

#include "input/polled_input.h"
#include "match/match_pacing.h"
#include "match/match_rules.h"
#include "match/match_view.h"

namespace {

void ShowBackground(SDL_Surface* background, SDL_Surface* screen) {
    SDL_Rect origin = {0, 0, 0, 0};
    if (SDL_BlitSurface(background, nullptr, screen, &origin) < 0) {
        fprintf(stderr, "BlitSurface error: %s\n", SDL_GetError());
    }
}

}  // namespace

void LocalMatch(const MatchResources& resources, GameSettings settings, MatchStatus status,
                TextStyle style) {
    SDL_Surface* screen = resources.screen;
    const ScreenSize size = {screen->w, screen->h};
    MatchState match = MakeMatchState(resources.tables, settings, status);
    SetupMatch(&match, size, resources.assets, SDL_GetTicks());
    ExplosionFrames explosionFrames;
    UseExplosionFrames(&match, resources.assets->explosion, &explosionFrames);
    ShowBackground(resources.background, screen);

    for (;;) {
        DrainEvents();
        if (HandleMatchInput(&match, size, PollInput())) {
            return;
        }
        MoveSheep(&match, size);
        ComputerPlayer(&match, size, 2);
        if (match.status.demo == 1) {
            ComputerPlayer(&match, size, 1);
        }
        ResolveHits(&match);
        UpdateOutcome(&match);
        DrawMatch(&match, screen, &style);
        PlayMatchSounds(resources.assets->sounds, &match.status);
        EraseDrawnAreas(resources.background, screen, match.drawnAreas, match.drawnCount);
        PaceFrame(&match);
    }
}
