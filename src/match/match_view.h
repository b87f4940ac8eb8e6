// Drawing one match frame, putting the background back, and the shimmering result.
#pragma once

#include <SDL/SDL.h>

#include <cstddef>
#include <memory>

#include "match/match_state.h"
#include "platform/platform.h"
#include "text/text.h"

// Draws effects, herds, pieces, shots, explosions, the result picture and the HUD,
// records every drawn area and updates the whole screen.
void DrawMatch(MatchState* match, SDL_Surface* screen, const TextStyle* style);

constexpr int kMaxExplosionFrames = 20;

// The frames of an explosion strip, each a picture of its own in the strip's pixel format
// with its transparency. Blitting a frame out of the strip walks every row of the whole
// strip; a frame of its own is only as wide as the frame.
struct ExplosionFrames {
    struct Free {
        void operator()(SDL_Surface* surface) const { FreePicture(surface); }
    };
    const SDL_Surface* strip = nullptr;
    int width = 0;
    int count = 0;
    std::unique_ptr<SDL_Surface, Free> frames[kMaxExplosionFrames];
};

// Cuts the strip into frames frameWidth wide (none when it has no whole frame).
void CutExplosionFrames(SDL_Surface* strip, int frameWidth, ExplosionFrames* out);

// Cuts the strip at the match's frame width into frames, which the match then draws from;
// the frames must outlive the match's drawing.
void UseExplosionFrames(MatchState* match, SDL_Surface* strip, ExplosionFrames* frames);

// DrawMatch without the screen update: draws and records only.
void DrawMatchFrame(MatchState* match, SDL_Surface* screen, const TextStyle* style);

// Puts the background back over the recorded areas, as blits of each area from the last
// to the first would; a plain background is copied once over the areas' union.
void EraseDrawnAreas(SDL_Surface* background, SDL_Surface* screen, const SDL_Rect* areas,
                     int count);

// Rotates an 8-bit picture's palette one more place from the saved colours.
// A picture without a palette is left as it is.
void CyclePalette(SDL_Color* savedPalette, SDL_Surface* picture, int* paletteStep);

// "Player 2: 17 Sheep" for player 2 with 17 sheep.
void FormatSheepCount(int player, int count, char* out, size_t capacity);

// The frame rate with two decimals and no digit before the point below 1: "33.33 fps",
// ".50 fps", ".05 fps".
void FormatFps(float fps, char* out, size_t capacity);
