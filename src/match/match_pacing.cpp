#include "match/match_pacing.h"

#include <algorithm>
#include <cstdlib>

#include "platform/platform.h"

namespace {

constexpr int kExplosionChannel = 1;
constexpr int kShotChannel = 0;
constexpr int kFirstSheepChannel = 2;
constexpr int kSheepSoundCount = 3;

}  // namespace

void PlayChunkOnChannel(int channel, Mix_Chunk* chunk) {
    // A sound whose file was missing stays empty and is simply not heard.
    if (chunk != nullptr) {
        PlaySoundOnChannel(channel, chunk);
    }
}

void PlayMatchSounds(Mix_Chunk* const sounds[kSoundCount], MatchStatus* status, PlayChunkFn play) {
    if (status->explosionSound != 0) {
        play(kExplosionChannel, sounds[kExplodeSound]);
    }
    if (status->shotSound != 0) {
        play(kShotChannel, sounds[kShotSound]);
    }
    if (status->sheepHitSound != 0) {
        const int pick = rand() % kSheepSoundCount;
        play(kFirstSheepChannel + pick, sounds[kSheepSound1 + pick]);
    }
    status->explosionSound = 0;
    status->shotSound = 0;
    status->sheepHitSound = 0;
}

void PaceFrame(MatchState* match, TickFn ticks) {
    MatchStatus& status = match->status;
    // At least one millisecond, so the measured frame is never zero long.
    const Uint32 duration = static_cast<Uint32>(std::max(match->settings.frameduration, 1));
    // Differences of unsigned ticks stay right when the counter wraps round.
    status.frameEnd = ticks();
    while (static_cast<Uint32>(status.frameEnd - status.frameStart) < duration) {
        YieldWhileWaiting(duration - static_cast<Uint32>(status.frameEnd - status.frameStart));
        status.frameEnd = ticks();
    }
    const Uint32 elapsed = status.frameEnd - status.frameStart;
    status.fps = 1000.0f / static_cast<float>(elapsed);
    status.frameStart = status.frameEnd;
    ++status.frameCount;
}
