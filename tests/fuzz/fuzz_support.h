// Shared pieces of the fuzz targets: fuzzer bytes as a file, a window-less screen with a
// small synthetic theme, a dealt match, and a check that stops the run on a broken promise.
#pragma once

#include <cstdint>
#include <cstring>

#include "match/match_state.h"

// Reports what and aborts, so that libFuzzer keeps the input, when ok is false.
void Require(bool ok, const char* what);

// Whether a fixed-size text field holds a terminator.
template <size_t N>
bool Terminated(const char (&field)[N]) {
    return memchr(field, '\0', N) != nullptr;
}

// Makes data the whole content of one in-memory file and returns a path that opens it
// at its first byte. Nothing touches the disk, so parallel runs cannot collide.
const char* InputPath(const uint8_t* data, size_t size);

// An 800 x 600 window-less screen and background, small pictures for every piece of a
// match, and glyph sheets three cells wide (blits past a sheet's edge are clipped).
// Made once; it lives, reachable, until the process ends.
struct FuzzTheme {
    SDL_Surface* screen;
    SDL_Surface* background;
    ThemeAssets assets;
    TextStyle style;
};
const FuzzTheme& SharedTheme();

// Deals a match on tables from a fixed seed on the shared theme, with the settings of an
// empty config.ini except for maxshots.
void DealMatch(MatchTables* tables, MatchState* match, int maxshots);
