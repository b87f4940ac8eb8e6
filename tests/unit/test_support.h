// Shared helpers for the unit tests: fake input, owned surfaces, numbers as one text, a
// temporary working folder, keys pressed from outside a loop, and a dealt test match.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "config/assets.h"
#include "input/polled_input.h"
#include "match/match_state.h"

// A key table and mouse buttons the tests fill in; Snapshot() views them.
struct FakeKeys {
    Uint8 held[SDLK_LAST] = {};
    SDLMod mods = KMOD_NONE;
    Uint8 buttons = 0;
    InputSnapshot Snapshot() const { return {held, SDLK_LAST, mods, 0, 0, buttons}; }
};

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A 32-bit surface filled with colour.
SurfacePtr MakeSurface(int w, int h, Uint32 colour = 0);

// An 8-bit surface filled with index, whose palette entry i is grey i.
SurfacePtr MakePalettedSurface(int w, int h, Uint8 index = 0);

Uint32 PixelAt(SDL_Surface* surface, int x, int y);

// The numbers as one text, separated by blanks, so one comparison shows them all.
template <typename... Number>
std::string Numbers(Number... numbers) {
    std::string text;
    ((text += std::to_string(numbers) + " "), ...);
    return text.substr(0, text.size() - 1);
}

// A fresh folder that is the working directory while it lives; removed afterwards.
struct TempDir {
    std::string previous = std::filesystem::current_path(), path = previous;
    TempDir();
    ~TempDir();
    // Writes a file in the folder, making the folders its name holds.
    void Write(const std::string& name, const std::string& content) const;
};

// Holds a key in SDL's own key table once ready() (asked from another thread) says so,
// or after ten seconds, for loops that only end on a key; lets go of it when destroyed.
struct KeyPressLater {
    SDLKey key;
    std::thread presser;
    KeyPressLater(SDLKey key, std::function<bool()> ready);
    ~KeyPressLater();
};

struct PictureSize {
    int w, h;
};
// A test theme's picture sizes; unlike sizes show which picture a position came from.
struct TestThemeSizes {
    PictureSize cannon1{40, 30}, shield1{60, 10}, cannon2{40, 30}, shield2{60, 10};
    PictureSize sheep[4] = {{20, 16}, {20, 16}, {20, 16}, {20, 16}};
    PictureSize shot{4, 8}, blood{10, 10}, explosion{100, 20};
};

// The defaults of an empty config.ini, but three shots, black sheep for player 2 and a
// five-frame explosion strip.
constexpr GameSettings kMatchSettings{6,  12, 1, 12, 6, 3, 1,  2, 20, 300, 20, 3,
                                      12, 5,  0, 30, 0, 0, "", 0, "", "",  ""};

// One-colour pictures for a match (the four result pictures 8-bit), the ThemeAssets that
// point at them, and a match dealt from seed 1 on them on an 800 x 600 field.
struct TestMatch {
    SurfacePtr owned[15];
    ThemeAssets assets{};
    MatchTables tables{};
    MatchState match{};
    explicit TestMatch(const GameSettings& settings = kMatchSettings,
                       const TestThemeSizes& sizes = {});
    TestMatch(const TestMatch&) = delete;  // match points into tables
};
