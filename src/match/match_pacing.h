// Sound effects of a frame and the pacing of frames.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include "match/match_state.h"

using PlayChunkFn = void (*)(int channel, Mix_Chunk* chunk);
using TickFn = Uint32 (*)();

// Plays chunk once on channel (PlaySoundOnChannel); an empty chunk plays nothing.
void PlayChunkOnChannel(int channel, Mix_Chunk* chunk);

// Plays the flagged sounds, each on its own channel, then clears the flags.
void PlayMatchSounds(Mix_Chunk* const sounds[kSoundCount], MatchStatus* status,
                     PlayChunkFn play = PlayChunkOnChannel);

// Waits until frameduration ms have passed since frameStart, measures fps, counts frames.
void PaceFrame(MatchState* match, TickFn ticks = SDL_GetTicks);
