// The busiest match frame, shared by frame_bench (Google Benchmark, the desktop) and
// frame_cost (a plain timer, for the browser), so both time the very same work.
#pragma once

#include <SDL/SDL.h>

#include "config/assets.h"
#include "input/polled_input.h"
#include "match/match_state.h"
#include "match/match_view.h"
#include "text/text.h"

constexpr ScreenSize kBenchScreen = {800, 600};
// The scene is dealt afresh every this many frames: few enough that no shot reaches a
// herd or a piece and every effect is still running.
constexpr int kFramesPerDeal = 8;

struct BusiestScene {
    SDL_Surface* screen;
    GameSettings settings;
    ThemeFileNames names;
    LanguageTexts texts;
    ThemeAssets assets;
    TextStyle style;
    MatchTables tables;
    MatchTables sceneTables;
    ExplosionFrames explosionFrames;
    MatchState scene;  // works on `tables`
    MatchState match;
};

// Which parts of a frame run, and how the background is put back.
struct FrameParts {
    bool rules;
    bool draw;
    void (*erase)(BusiestScene*);
};

// Opens an 800 x 600 32-bit screen, loads the theme of the working directory and deals
// the scene; the program ends if there is no screen.
void SetUpBusiestScene(BusiestScene* b);
// 20 live sheep a side, 10 shots a side in mid-field, 20 explosions on the four pieces,
// 40 blood splashes in the herd strips, player 1's result on show and the frame rate.
void DealBusiestScene(BusiestScene* b);
void RestoreScene(BusiestScene* b);
void RunRules(MatchState* match, const InputSnapshot& input);

void EraseNothing(BusiestScene* b);
void EraseDrawnList(BusiestScene* b);
void BlitWholeBackground(BusiestScene* b);
inline constexpr FrameParts kWholeFrame = {true, true, EraseDrawnList};

// The input of a match in which nobody touches a key.
InputSnapshot NoKeysHeld();
// Restores the scene and draws it once, so the first frame has areas to erase.
void StartFrames(BusiestScene* b);
// One frame as the local loop runs it, without the screen update, sounds and pacing;
// `frame` counts the frames so that the scene is dealt again in time.
void RunFrame(BusiestScene* b, const InputSnapshot& input, FrameParts parts, int* frame);
