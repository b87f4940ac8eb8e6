// The frame's sounds on their channels and the pacing of frames on a fake clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "match/match_pacing.h"
#include "match/match_state.h"

namespace {

std::vector<std::pair<int, Mix_Chunk*>> gPlayed;

void RecordPlay(int channel, Mix_Chunk* chunk) {
    gPlayed.emplace_back(channel, chunk);
}

struct Sounds {
    Mix_Chunk chunks[kSoundCount] = {};
    Mix_Chunk* table[kSoundCount];
    Sounds() {
        for (int i = 0; i < kSoundCount; ++i) {
            table[i] = &chunks[i];
        }
        gPlayed.clear();
    }
};

TEST(PlayMatchSounds, EachFlagPlaysOnItsOwnChannelInOrderThenClears) {
    Sounds sounds;
    MatchStatus status{};
    status.shotSound = 1;
    status.explosionSound = 1;
    PlayMatchSounds(sounds.table, &status, RecordPlay);
    ASSERT_EQ(gPlayed.size(), 2u);
    EXPECT_EQ(gPlayed[0], std::make_pair(1, sounds.table[kExplodeSound]));
    EXPECT_EQ(gPlayed[1], std::make_pair(0, sounds.table[kShotSound]));
    EXPECT_EQ(status.shotSound + status.explosionSound + status.sheepHitSound, 0);

    gPlayed.clear();
    PlayMatchSounds(sounds.table, &status, RecordPlay);
    EXPECT_TRUE(gPlayed.empty());
}

TEST(PlayMatchSounds, SheepSoundIsChosenByOneRandomDraw) {
    Sounds sounds;
    bool seen[3] = {};
    for (unsigned seed = 1; seed < 40; ++seed) {
        srand(seed);
        const int pick = rand() % 3;
        const int next = rand();
        srand(seed);
        gPlayed.clear();
        MatchStatus status{};
        status.sheepHitSound = 1;
        PlayMatchSounds(sounds.table, &status, RecordPlay);
        ASSERT_EQ(gPlayed.size(), 1u);
        EXPECT_EQ(gPlayed[0], std::make_pair(2 + pick, sounds.table[kSheepSound1 + pick]));
        EXPECT_EQ(rand(), next) << "more than one random draw";
        EXPECT_EQ(status.sheepHitSound, 0);
        seen[pick] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

// A clock that advances one millisecond per reading, after optional jumps.
Uint32 gNow = 0;
int gReadings = 0;
Uint32 FakeTicks() {
    ++gReadings;
    return gNow++;
}

MatchState PacedMatch(int frameduration, Uint32 start) {
    MatchState match{};
    match.settings.frameduration = frameduration;
    match.status.frameStart = start;
    gNow = start;
    gReadings = 0;
    return match;
}

TEST(PaceFrame, WaitsOutTheFrameAndMeasuresTheRate) {
    MatchState match = PacedMatch(30, 1000);
    PaceFrame(&match, FakeTicks);
    EXPECT_EQ(match.status.frameEnd, 1030u);
    EXPECT_EQ(match.status.frameStart, 1030u);
    EXPECT_EQ(gReadings, 31) << "the wait must poll the clock until the time is up";
    EXPECT_NEAR(match.status.fps, 33.333f, 0.001f);
    EXPECT_EQ(match.status.frameCount, 1u);
}

TEST(PaceFrame, ASlowFrameIsNotWaitedForAndTheNextStartsThere) {
    MatchState match = PacedMatch(30, 1000);
    gNow = 1045;  // the frame's work took 45 ms
    PaceFrame(&match, FakeTicks);
    EXPECT_EQ(gReadings, 1);
    EXPECT_NEAR(match.status.fps, 22.222f, 0.001f);
    EXPECT_EQ(match.status.frameStart, 1045u);
    PaceFrame(&match, FakeTicks);
    EXPECT_EQ(match.status.frameEnd, 1075u);
    EXPECT_EQ(match.status.frameCount, 2u);
}

TEST(PaceFrame, SurvivesTheTickCounterWrapping) {
    MatchState match = PacedMatch(30, 0xFFFFFFF0u);
    PaceFrame(&match, FakeTicks);
    EXPECT_EQ(match.status.frameEnd, 0xFFFFFFF0u + 30u);
    EXPECT_NEAR(match.status.fps, 33.333f, 0.001f);
}

TEST(PaceFrame, AZeroFrameLengthStillMeasuresAFiniteRate) {
    MatchState match = PacedMatch(0, 500);
    PaceFrame(&match, FakeTicks);
    EXPECT_EQ(match.status.frameEnd, 501u);
    EXPECT_EQ(match.status.fps, 1000.0f);
}

}  // namespace
