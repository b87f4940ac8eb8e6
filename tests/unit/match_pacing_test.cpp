// The frame's sounds on their channels and the pacing of frames on a fake clock.

#include <cstdlib>

#include "match/match_pacing.h"
#include "test_support.h"

Mix_Chunk gChunks[kSoundCount];
std::string gPlayed;  // the channel and the sound of each sound started

// The explosion on channel 1 before the shot on channel 0; one of the three sheep sounds
// on its own channel, by a single random draw; every flag cleared afterwards.
TEST(PlayMatchSounds, EachFlagPlaysOnItsOwnChannelInOrderThenClears) {
    Mix_Chunk* const sounds[] = {&gChunks[0], &gChunks[1], &gChunks[2], &gChunks[3], &gChunks[4]};
    for (unsigned seed = 1; seed < 20; ++seed) {
        srand(seed);
        const int pick = rand() % 3, next = rand();
        srand(seed);
        gPlayed.clear();
        MatchStatus status{};
        status.shotSound = status.explosionSound = status.sheepHitSound = 1;
        for (int frame = 0; frame < 2; ++frame) {
            PlayMatchSounds(sounds, &status, [](int channel, Mix_Chunk* chunk) {
                gPlayed += Numbers(channel, chunk - gChunks) + " ";
            });
        }
        EXPECT_EQ(gPlayed + Numbers(rand() == next),
                  "1 1 0 0 " + Numbers(2 + pick, 2 + pick) + " 1");
    }
}

Uint32 gNow = 0;  // a clock that advances one millisecond per reading
int gReadings = 0;

// A frame waits until frameduration (at least 1) has passed since the last one began,
// polling the clock; a slow frame is not waited for; ticks may wrap.
TEST(PaceFrame, WaitsOutTheFrameMeasuresTheRateAndStartsTheNext) {
    const Uint32 W = 0xFFFFFFF0u;  // 16 ticks before the counter wraps
    const Uint32 cases[][5] = {{30, 1000, 1000, 1030, 31},
                               {30, 1000, 1045, 1045, 1},
                               {30, W, W, W + 30, 31},
                               {0, 500, 500, 501, 2}};
    for (auto [frameduration, start, now, end, readings] : cases) {
        MatchState match{};
        match.settings.frameduration = int(frameduration);
        match.status.frameStart = start;
        match.status.frameCount = 7;
        gNow = now;
        gReadings = 0;
        PaceFrame(&match, [] { return ++gReadings, gNow++; });
        const MatchStatus& s = match.status;
        EXPECT_EQ(Numbers(s.frameEnd, s.frameStart, gReadings, s.frameCount),
                  Numbers(end, end, readings, 8u));
        EXPECT_NEAR(s.fps, 1000.0f / (end - start), 0.001f);
    }
}
