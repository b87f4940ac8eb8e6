// Dealing a fresh match: piece positions, the tables and status, the herds and their
// random order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "match/match_rules.h"
#include "test_support.h"

namespace {

// Unlike sizes, so a position shows which picture it was computed from.
TestThemeSizes DistinctSizes() {
    TestThemeSizes sizes;
    sizes.cannon2 = {50, 20};
    sizes.shield2 = {70, 12};
    sizes.sheep[1] = {22, 18};
    sizes.sheep[2] = {24, 20};
    sizes.sheep[3] = {26, 22};
    return sizes;
}

void Redeal(TestMatch& deal, Uint32 now = 0) {
    SetupMatch(&deal.match, ScreenSize{800, 600}, &deal.theme.assets, now);
}

TEST(SetupMatch, PlacesPiecesFromScreenAndPictureSizes) {
    TestMatch deal(MatchTestSettings(), DistinctSizes());
    const TestTheme& theme = deal.theme;
    // Player 2's pieces take their x from player 1's pictures.
    const Sprite expected[4] = {{400 - 20, 600 - 210, 1, 0, 0, theme.cannon1.get()},
                                {400 - 30, 600 - 135, 1, 0, 0, theme.shield1.get()},
                                {400 - 20 + 50, 207 - 20, 1, 0, 0, theme.cannon2.get()},
                                {400 - 30, 133 - 12, 1, 0, 0, theme.shield2.get()}};
    for (int i = 0; i < 4; ++i) {
        const Sprite& piece = deal.match.pieces[i];
        EXPECT_EQ(piece.x, expected[i].x) << "piece " << i;
        EXPECT_EQ(piece.y, expected[i].y) << "piece " << i;
        EXPECT_EQ(piece.state, 1);
        EXPECT_EQ(piece.image, expected[i].image);
        EXPECT_EQ(deal.match.sheepImages[i].image, theme.sheep[i].get());
    }
}

void ExpectCleared(const Sprite* sprites, int count, const SurfacePtr& image) {
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(sprites[i].state, 0) << "slot " << i;
        EXPECT_EQ(sprites[i].image, image.get()) << "slot " << i;
    }
}

TEST(SetupMatch, ANewDealClearsTheTablesAndStatusButKeepsDemo) {
    TestMatch deal;
    MatchTables& tables = deal.tables;
    tables.shots[1][9].state = tables.explosions[19].state = tables.blood[39].state = 7;
    tables.pieces[kCannon1].x = 3;
    MatchStatus& status = deal.match.status;
    status.phase = Draw;
    status.sheepLeft[0] = status.sheepLeft[1] = 5;
    status.frameCount = 99;
    status.fps = 12.5f;
    status.showFps = status.shotSound = status.explosionSound = status.sheepHitSound = 1;
    status.demo = 1;
    deal.match.paletteStep = 7;
    Redeal(deal, 4242);
    ExpectCleared(tables.shots[0], kShotSlots, deal.theme.shot);
    ExpectCleared(tables.shots[1], kShotSlots, deal.theme.shot);
    ExpectCleared(tables.explosions, kExplosionSlots, deal.theme.explosion);
    ExpectCleared(tables.blood, kBloodSlots, deal.theme.blood);
    EXPECT_EQ(tables.pieces[kCannon1].x, 380);
    EXPECT_EQ(status.phase, Running);
    EXPECT_EQ(status.sheepLeft[0], 1);
    EXPECT_EQ(status.sheepLeft[1], 1);
    EXPECT_EQ(status.frameCount, 0u);
    EXPECT_EQ(status.fps, 0.0f);
    EXPECT_EQ(status.frameStart, 4242u);
    EXPECT_EQ(status.showFps + status.shotSound + status.explosionSound + status.sheepHitSound, 0);
    EXPECT_EQ(status.demo, 1);
    EXPECT_EQ(deal.match.paletteStep, 0);
}

// Herds of none or one decide at the first check; maxshots is limited to the ten slots;
// the explosion strip (100 wide) is cut into exploanim frames, none without frames.
TEST(SetupMatch, SettingsAtTheirEdges) {
    struct Case {
        int sheepmax, maxshots, exploanim;
        int phase, keptShots, frameWidth;
    };
    const Case cases[] = {
        {0, 20, 5, Draw, 10, 20}, {1, 10, 4, SuddenDeath, 10, 25}, {20, 1, 0, Running, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sheepmax " << c.sheepmax);
        TestMatch deal;
        GameSettings& settings = deal.match.settings;
        settings.sheepmax = c.sheepmax;
        settings.maxshots = c.maxshots;
        settings.exploanim = c.exploanim;
        Redeal(deal);
        UpdateOutcome(&deal.match);
        EXPECT_EQ(deal.match.status.phase, c.phase);
        EXPECT_EQ(settings.maxshots, c.keptShots);
        EXPECT_EQ(settings.exploframewidth, c.frameWidth);
    }
}

// rand() % n, or 0 when n is not positive (the draw is made all the same).
int Below(int n) {
    const int r = rand();
    return n > 0 ? r % n : 0;
}

// Deals the herds again by hand from the same seed: direction, colour (only for a
// random-colour herd), x, then y, slot after slot, herd 0 then herd 1. Sheep too tall
// for their strip or too wide for the screen end up against the edge.
TEST(SetupMatch, DealsHerdsInTheFixedRandomOrder) {
    std::vector<TestThemeSizes> themes = {DistinctSizes()};
    for (PictureSize size : {PictureSize{20, 80}, {20, 95}, {800, 16}, {900, 16}}) {
        TestThemeSizes& sizes = themes.emplace_back();
        std::fill(std::begin(sizes.sheep), std::end(sizes.sheep), size);
    }
    for (const TestThemeSizes& sizes : themes) {
        SCOPED_TRACE(testing::Message() << "theme " << &sizes - themes.data());
        TestMatch deal(MatchTestSettings(), sizes);
        deal.match.settings.sheepmax = 7;
        deal.match.settings.sheepcolor1 = 2;
        deal.match.settings.sheepcolor2 = 0;
        srand(1234);
        Redeal(deal);
        const int afterDeal = rand();

        srand(1234);
        const int colourSetting[2] = {2, 0};
        for (int herd = 0; herd < 2; ++herd) {
            for (int j = 0; j < 20; ++j) {
                const Sprite& sheep = deal.match.herds[herd][j];
                const int direction = Below(2) == 1 ? 1 : -1;
                const int colour = colourSetting[herd] != 0 ? colourSetting[herd] : Below(2) + 1;
                const int picture = direction == 1 ? colour + 1 : colour - 1;
                const PictureSize size = sizes.sheep[picture];
                const int x = Below(800 - size.w);
                const int slack = Below(80 - size.h);
                SCOPED_TRACE(testing::Message() << "herd " << herd << " slot " << j);
                EXPECT_EQ(sheep.state, j < 7 ? 1 : 0);
                EXPECT_EQ(sheep.direction, direction);
                EXPECT_EQ(sheep.colour, colour);
                EXPECT_EQ(sheep.image, deal.theme.sheep[picture].get());
                EXPECT_EQ(sheep.x, x);
                EXPECT_EQ(sheep.y, herd == 0 ? 600 - size.h - slack : slack);
            }
        }
        EXPECT_EQ(afterDeal, rand()) << "the deal drew a different number of random values";
    }
}

}  // namespace
