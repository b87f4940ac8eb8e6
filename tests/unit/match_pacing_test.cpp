// The frame's sounds on their channels and the pacing of frames on a fake clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "match/match_pacing.h"

namespace {

std::vector<std::pair<int, Mix_Chunk*>> gPlayed;

void RecordPlay(int channel, Mix_Chunk* chunk) {
    gPlayed.emplace_back(channel, chunk);
}

// The explosion on channel 1 before the shot on channel 0; one of the three sheep sounds,
// on its own channel, by a single random draw; every flag cleared afterwards.
TEST(PlayMatchSounds, EachFlagPlaysOnItsOwnChannelInOrderThenClears) {
    Mix_Chunk chunks[kSoundCount] = {};
    Mix_Chunk* const sounds[kSoundCount] = {&chunks[0], &chunks[1], &chunks[2], &chunks[3],
                                            &chunks[4]};
    bool seen[3] = {};
    for (unsigned seed = 1; seed < 40; ++seed) {
        srand(seed);
        const int pick = rand() % 3;
        const int next = rand();
        srand(seed);
        gPlayed.clear();
        MatchStatus status{};
        status.shotSound = status.explosionSound = status.sheepHitSound = 1;
        PlayMatchSounds(sounds, &status, RecordPlay);
        ASSERT_EQ(gPlayed.size(), 3u);
        EXPECT_EQ(gPlayed[0], std::make_pair(1, sounds[kExplodeSound]));
        EXPECT_EQ(gPlayed[1], std::make_pair(0, sounds[kShotSound]));
        EXPECT_EQ(gPlayed[2], std::make_pair(2 + pick, sounds[kSheepSound1 + pick]));
        EXPECT_EQ(rand(), next) << "more than one random draw";
        seen[pick] = true;
        PlayMatchSounds(sounds, &status, RecordPlay);
        EXPECT_EQ(gPlayed.size(), 3u) << "the flags were not cleared";
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

// A clock that advances one millisecond per reading.
Uint32 gNow = 0;
int gReadings = 0;
Uint32 FakeTicks() {
    ++gReadings;
    return gNow++;
}

TEST(PaceFrame, WaitsOutTheFrameMeasuresTheRateAndStartsTheNext) {
    struct Case {
        int frameduration;
        Uint32 start, now, end;
        int readings;
        float fps;
    };
    const Case cases[] = {
        {30, 1000, 1000, 1030, 31, 1000.0f / 30},  // polls the clock until the time is up
        {30, 1000, 1045, 1045, 1, 1000.0f / 45},   // a slow frame is not waited for
        {30, 0xFFFFFFF0u, 0xFFFFFFF0u, 0xFFFFFFF0u + 30u, 31, 1000.0f / 30},  // ticks wrap
        {0, 500, 500, 501, 2, 1000.0f},  // still at least 1 ms: a finite rate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "frame from " << c.start << " at " << c.now);
        MatchState match{};
        match.settings.frameduration = c.frameduration;
        match.status.frameStart = c.start;
        match.status.frameCount = 7;
        gNow = c.now;
        gReadings = 0;
        PaceFrame(&match, FakeTicks);
        EXPECT_EQ(match.status.frameEnd, c.end);
        EXPECT_EQ(match.status.frameStart, c.end);
        EXPECT_EQ(gReadings, c.readings);
        EXPECT_NEAR(match.status.fps, c.fps, 0.001f);
        EXPECT_EQ(match.status.frameCount, 8u);
    }
}

}  // namespace
