// The rules of a match: input effects, the computer player, sheep, hits and outcome.
// They work on MatchState and plain sizes only, so they run without a screen.
#pragma once

#include "input/polled_input.h"
#include "match/match_state.h"

// Whether Space and F were held at the previous check. Process-wide: they carry over
// from one match to the next.
struct MatchKeyLatches {
    bool spaceHeld;
    bool fHeld;
};
extern MatchKeyLatches gMatchKeyLatches;

// Player 1's keys (unless in the demo), shot flight, effect countdown, the F toggle.
// Returns true while ESC is held.
bool HandleMatchInput(MatchState* match, ScreenSize screen, const InputSnapshot& input);

// Every explosion and blood splash still showing loses one frame.
void CountDownEffects(MatchState* match);

// One frame of the computer for player 1 or 2.
void ComputerPlayer(MatchState* match, ScreenSize screen, int player);

// One frame of wandering for both herds.
void MoveSheep(MatchState* match, ScreenSize screen);

// Stops shots on the enemy cannon and shield (explosions) and kills sheep they touch.
void ResolveHits(MatchState* match);

// Recounts both herds and decides the phase; resets paletteStep when the phase changes.
void UpdateOutcome(MatchState* match);

// The overlap test of a shot against a target, edges included.
bool ShotOverlaps(const Sprite& shot, const Sprite& target);

// Fires the first free slot of a row (0 player 1, 1 player 2) centred on that player's
// cannon at the given y, if fewer than maxshots are in flight. Sets shotSound.
bool TryFireShot(MatchState* match, int row, int y);

// Keeps a piece on the screen: past the right edge it stops at W - width, then below 0 at 0.
void ClampPieceX(Sprite* piece, ScreenSize screen);
