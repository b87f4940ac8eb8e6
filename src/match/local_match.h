// One match on this machine: the person (or, in the demo, the computer) as player 1
// and the computer as player 2.
#pragma once

#include <SDL/SDL.h>

#include "config/assets.h"
#include "match/match_state.h"
#include "text/text.h"

// What a match borrows from the menu.
struct MatchResources {
    SDL_Surface* screen;
    SDL_Surface* background;
    const ThemeAssets* assets;
    MatchTables* tables;
};

// Runs frames until ESC; a window-close request ends the process.
void LocalMatch(const MatchResources& resources, GameSettings settings, MatchStatus status,
                TextStyle style);
