// Shared helpers for the unit tests: fake input, owned surfaces, temporary folders,
// captured standard error.
#pragma once

#include <SDL/SDL.h>

#include <memory>
#include <string>

#include "input/polled_input.h"
#include "config/assets.h"
#include "config/settings.h"
#include "match/match_state.h"

// A key table the tests fill in; Snapshot() views it.
struct FakeKeys {
    Uint8 held[SDLK_LAST] = {};
    SDLMod mods = KMOD_NONE;
    int mouseX = 0;
    int mouseY = 0;
    Uint8 buttons = 0;
    void Press(SDLKey key) { held[key] = 1; }
    void Release(SDLKey key) { held[key] = 0; }
    InputSnapshot Snapshot() const;
};

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A 32-bit surface of the given size, filled with colour.
SurfacePtr MakeSurface(int w, int h, Uint32 colour = 0);
// An 8-bit surface with a palette of 256 grey levels (index i = grey i).
SurfacePtr MakePalettedSurface(int w, int h, Uint8 fillIndex = 0);
// The pixel value at (x, y) of a 32-bit or 8-bit surface.
Uint32 PixelAt(SDL_Surface* surface, int x, int y);

// A fresh empty folder that is removed with everything in it on destruction;
// the working directory moves into it while it lives.
class TempDir {
   public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // Writes bytes to a file in the folder.
    void Write(const std::string& name, const std::string& content) const;

   private:
    std::string path_;
    std::string previous_;
};

// Captures what is written to stderr while it lives.
class StderrCapture {
   public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    // Everything written so far.
    std::string Text();

   private:
    int saved_;
    std::string file_;
};

// Settings for match tests: the defaults of an empty config.ini, but three shots, white
// sheep for player 1 and black ones for player 2, and a five-frame explosion strip.
GameSettings MatchTestSettings();

struct PictureSize {
    int w;
    int h;
};

// The sizes of a test theme's pictures; tests pick unlike sizes where a position must
// show which picture it was computed from.
struct TestThemeSizes {
    PictureSize cannon1{40, 30};
    PictureSize shield1{60, 10};
    PictureSize cannon2{40, 30};
    PictureSize shield2{60, 10};
    PictureSize sheep[4] = {{20, 16}, {20, 16}, {20, 16}, {20, 16}};
    PictureSize shot{4, 8};
    PictureSize blood{10, 10};
    PictureSize explosion{100, 20};
};

// Small pictures for every piece of a match (result pictures are 8-bit) and the
// ThemeAssets that point at them.
struct TestTheme {
    explicit TestTheme(const TestThemeSizes& sizes = {});
    TestTheme(const TestTheme&) = delete;
    TestTheme& operator=(const TestTheme&) = delete;
    SurfacePtr cannon1, shield1, cannon2, shield2, sheep[4], shot, blood, explosion;
    SurfacePtr results[4];  // winner, loser, draw, sudden death
    ThemeAssets assets{};
};

// A match dealt on a TestTheme on an 800 x 600 field, seeded so the deal repeats.
struct TestMatch {
    explicit TestMatch(const GameSettings& settings = MatchTestSettings(),
                       const TestThemeSizes& sizes = {});
    TestMatch(const TestMatch&) = delete;  // match points into tables
    TestMatch& operator=(const TestMatch&) = delete;
    TestTheme theme;
    MatchTables tables{};
    MatchState match{};
    // Kills every sheep of both herds, for tests that place sheep by hand.
    void EmptyHerds();
};
