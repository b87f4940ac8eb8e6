// The state of one match and the dealing of a fresh match.
#pragma once

#include <SDL/SDL.h>

#include "config/assets.h"
#include "config/settings.h"

constexpr int kHerdSize = 20;
constexpr int kShotSlots = 10;
constexpr int kExplosionSlots = 20;
constexpr int kBloodSlots = 40;
constexpr int kDrawnAreaCapacity = 99;
constexpr int kHerdStripHeight = 80;

// Everything on the field is a sprite.
struct Sprite {
    int x;
    int y;
    int state;      // 0 inactive; sheep 1 standing, n > 1 walking; effects: frames left
    int direction;  // sheep: 1 right, -1 left
    int colour;     // sheep: 1 white, 2 black
    SDL_Surface* image;
};

enum MatchPhase : int { Running = 0, Player1Won = 1, Player2Won = 2, Draw = 3, SuddenDeath = 4 };

enum PieceIndex { kCannon1 = 0, kShield1 = 1, kCannon2 = 2, kShield2 = 3 };

// The tables the menu keeps for the whole run and lends to every match,
// which deals them afresh.
struct MatchTables {
    Sprite pieces[4];
    Sprite sheepImages[4];  // only image: sheeplw, sheeplb, sheeprw, sheeprb
    Sprite shots[2][kShotSlots];
    Sprite explosions[kExplosionSlots];
    Sprite blood[kBloodSlots];
};

// The match status record: the menu keeps one and hands each match a copy.
struct MatchStatus {
    SDL_Surface* pictures[5];  // winner, loser, draw, suddendeath, splashscreen
    SDL_Color savedPalette[256];
    int phase;
    int sheepLeft[2];
    Uint32 frameCount;
    int showFps;
    float fps;
    Uint32 frameEnd;
    Uint32 frameStart;
    int sheepHitSound;
    int explosionSound;
    int shotSound;
    int demo;
};

struct ScreenSize {
    int w;
    int h;
};

struct ExplosionFrames;  // match_view.h

struct MatchState {
    // Borrowed from the menu's MatchTables (see BindMatchTables).
    Sprite* pieces;
    Sprite* sheepImages;
    Sprite (*shots)[kShotSlots];
    Sprite* explosions;
    Sprite* blood;

    Sprite herds[2][kHerdSize];
    GameSettings settings;  // the match's own copy
    MatchStatus status;     // the match's own copy

    SDL_Rect drawnAreas[kDrawnAreaCapacity];
    int drawnCount;
    int paletteStep;

    // The explosion strip cut into frames, kept by the match loop; null draws from the strip.
    const ExplosionFrames* explosionFrames;
};

// Makes a match state that works on the given tables, with copies of the records.
MatchState MakeMatchState(MatchTables* tables, const GameSettings& settings,
                          const MatchStatus& status);

// Deals a fresh match: pieces, empty shot and effect tables, both herds, status.
// Writes exploframewidth into the match's settings and limits maxshots to the slots.
void SetupMatch(MatchState* match, ScreenSize screen, const ThemeAssets* assets, Uint32 now);

// rand() % n, or 0 (after drawing all the same) when n is not positive.
int RandomBelow(int n);

// The sheep picture for a colour (1 white, 2 black) and direction (1 right, else left).
SDL_Surface* SheepImageFor(const MatchState& match, int colour, int direction);
