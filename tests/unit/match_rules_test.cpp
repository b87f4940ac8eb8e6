// The match rules: the person's Space and F, and a whole demo match, which shows the
// deal, the computer player, wandering sheep, shot flight, hits, effects and the outcome.
#include "match/match_rules.h"

#include "test_support.h"

constexpr ScreenSize kScreen = {800, 600};

// Space and F held together through presses ("-" up, "+" down; "0" frees shot slot 0):
// a press fires into the first free slot within maxshots, whatever the outcome, and
// flips the rate display; held, neither acts again; a spent press stays spent. A shot
// starts just above the cannon (40 x 30 at 380, 390), centred on it, and moves in the
// same frame. After each step: the first three shot slots in flight, the rate switch.
TEST(HandleMatchInput, SpaceAndFActOncePerPress) {
    GameSettings settings = kMatchSettings;
    settings.maxshots = 20;
    TestMatch field(settings);
    MatchState& m = field.match;
    EXPECT_EQ(m.settings.maxshots, 10) << "the deal keeps maxshots within the ten slots";
    m.settings.maxshots = 2;
    m.status.phase = Player2Won;
    m.shots[0][2].state = 1;  // beyond maxshots
    gMatchKeyLatches = {false, false};
    FakeKeys keys;
    std::string seen;
    for (const char* step : {"-+", "+", "-+-+", "0+", "-+"}) {
        for (const char* key = step; *key != '\0'; ++key) {
            m.shots[0][0].state *= *key != '0';
            keys.held[SDLK_SPACE] = keys.held[SDLK_f] = *key != '-';
            EXPECT_FALSE(HandleMatchInput(&m, kScreen, keys.Snapshot()));
        }
        seen += Numbers(m.shots[0][0].state, m.shots[0][1].state, m.shots[0][2].state,
                        m.status.showFps) +
                "; ";
    }
    EXPECT_EQ(seen + Numbers(m.shots[0][0].x, m.shots[0][0].y),
              "1 0 1 1; 1 0 1 1; 1 1 1 1; 0 1 1 1; 1 1 1 0; 398 370");
}

// A demo from seed 1, frame by frame as the local loop runs it, until player 2 has won:
// herd 1 of random colours and pictures of unlike sizes, so that every draw and every
// size shows. At the frames where the phase
// changed, and every 500 frames: the frame, the phase, the counts, a running sum over
// every frame of the effects showing (frames left and place, weighted by slot), and the
// x of the four pieces.
TEST(MatchRun, ADemoFromAFixedSeedGoesAsPinned) {
    GameSettings settings = kMatchSettings;
    settings.sheepcolor2 = 0;
    TestThemeSizes sizes;
    sizes.cannon2 = {50, 20};
    sizes.shield2 = {70, 12};
    sizes.sheep[1] = {22, 18};
    sizes.sheep[3] = {26, 22};
    TestMatch dealt(settings, sizes);
    MatchState& m = dealt.match;
    m.status.demo = 1;
    gMatchKeyLatches = {false, false};
    std::string log;
    long effects = 0;
    auto weigh = [](const Sprite& s) { return s.state != 0 ? s.state + s.x + s.y : 0; };
    for (int frame = 1; frame <= 3000; ++frame) {
        HandleMatchInput(&m, kScreen, FakeKeys().Snapshot());
        MoveSheep(&m, kScreen);
        ComputerPlayer(&m, kScreen, 2);
        ComputerPlayer(&m, kScreen, 1);
        ResolveHits(&m);
        const int phase = m.status.phase;
        UpdateOutcome(&m);
        for (int i = 0; i < kBloodSlots; ++i) {
            effects +=
                (i + 1) * (weigh(m.blood[i]) + (i < kExplosionSlots ? weigh(m.explosions[i]) : 0));
        }
        if (m.status.phase != phase || frame % 500 == 0) {
            log += Numbers(frame, m.status.phase, m.status.sheepLeft[0], m.status.sheepLeft[1],
                           effects, m.pieces[0].x, m.pieces[1].x, m.pieces[2].x, m.pieces[3].x) +
                   "\n";
        }
    }
    EXPECT_EQ(log,
              "500 0 15 16 9485931 164 166 190 178\n1000 0 8 11 16777931 200 334 286 190\n"
              "1500 0 3 7 27366894 440 358 358 394\n2000 0 3 2 36997461 728 358 358 718\n"
              "2500 0 2 1 45208478 608 286 286 598\n2653 4 1 1 46700799 512 334 358 538\n"
              "2704 2 0 1 47085993 8 334 622 538\n3000 2 0 1 49842581 84 622 622 154\n");
}
