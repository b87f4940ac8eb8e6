// Dealing a fresh match: piece positions, the herds and their random order, status.
#include <gtest/gtest.h>

#include <cstdlib>

#include "match/match_rules.h"
#include "match/match_state.h"
#include "test_support.h"

namespace {

constexpr ScreenSize kScreen = {800, 600};

GameSettings BaseSettings() {
    GameSettings settings{};
    settings.speednormal = 12;
    settings.speedshift = 6;
    settings.sheepspeed = 3;
    settings.sheepcolor1 = 1;
    settings.sheepcolor2 = 2;
    settings.sheepmax = 20;
    settings.bloodtime = 300;
    settings.explotime = 20;
    settings.maxshots = 3;
    settings.shotspeed = 12;
    settings.exploanim = 5;
    settings.frameduration = 30;
    return settings;
}

// Pictures of distinct sizes, so a position shows which picture it came from.
struct Deal {
    SurfacePtr cannon1 = MakeSurface(40, 30);
    SurfacePtr shield1 = MakeSurface(60, 10);
    SurfacePtr cannon2 = MakeSurface(50, 20);
    SurfacePtr shield2 = MakeSurface(70, 12);
    SurfacePtr sheep[4] = {MakeSurface(20, 16), MakeSurface(22, 18), MakeSurface(24, 20),
                           MakeSurface(26, 22)};
    SurfacePtr shot = MakeSurface(4, 8);
    SurfacePtr explosion = MakeSurface(100, 20);
    SurfacePtr blood = MakeSurface(10, 10);
    ThemeAssets assets{};
    MatchTables tables{};
    MatchState match{};

    Deal() {
        assets.cannon1 = cannon1.get();
        assets.shield1 = shield1.get();
        assets.cannon2 = cannon2.get();
        assets.shield2 = shield2.get();
        for (int i = 0; i < 4; ++i) {
            assets.sheeppictures[i] = sheep[i].get();
        }
        assets.shot = shot.get();
        assets.explosion = explosion.get();
        assets.blood = blood.get();
    }

    void Start(const GameSettings& settings, Uint32 now = 0) {
        match = MakeMatchState(&tables, settings, MatchStatus{});
        SetupMatch(&match, kScreen, &assets, now);
    }
};

TEST(SetupMatch, PlacesPiecesFromScreenAndPictureSizes) {
    Deal deal;
    deal.Start(BaseSettings());
    const Sprite* pieces = deal.match.pieces;
    // Player 2's pieces take their x from player 1's pictures.
    EXPECT_EQ(pieces[kCannon1].x, 400 - 20);
    EXPECT_EQ(pieces[kCannon1].y, 600 - 210);
    EXPECT_EQ(pieces[kShield1].x, 400 - 30);
    EXPECT_EQ(pieces[kShield1].y, 600 - 135);
    EXPECT_EQ(pieces[kCannon2].x, 400 - 20 + 50);
    EXPECT_EQ(pieces[kCannon2].y, 207 - 20);
    EXPECT_EQ(pieces[kShield2].x, 400 - 30);
    EXPECT_EQ(pieces[kShield2].y, 133 - 12);
    SDL_Surface* expected[4] = {deal.cannon1.get(), deal.shield1.get(), deal.cannon2.get(),
                                deal.shield2.get()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pieces[i].state, 1);
        EXPECT_EQ(pieces[i].image, expected[i]);
        EXPECT_EQ(deal.match.sheepImages[i].image, deal.sheep[i].get());
    }
    // The pieces live in the menu's tables, which the match borrows.
    EXPECT_EQ(deal.match.pieces, deal.tables.pieces);
}

TEST(SetupMatch, ClearsShotAndEffectTablesAndDerivesFrameWidth) {
    Deal deal;
    deal.tables.shots[1][9] = Sprite{5, 5, 1, 0, 0, nullptr};
    deal.tables.explosions[19].state = 7;
    deal.tables.blood[39].state = 7;
    deal.Start(BaseSettings());
    for (int row = 0; row < 2; ++row) {
        for (const Sprite& shot : deal.tables.shots[row]) {
            EXPECT_EQ(shot.state, 0);
            EXPECT_EQ(shot.x, 0);
            EXPECT_EQ(shot.image, deal.shot.get());
        }
    }
    for (const Sprite& explosion : deal.tables.explosions) {
        EXPECT_EQ(explosion.state, 0);
        EXPECT_EQ(explosion.image, deal.explosion.get());
    }
    for (const Sprite& blood : deal.tables.blood) {
        EXPECT_EQ(blood.state, 0);
        EXPECT_EQ(blood.image, deal.blood.get());
    }
    EXPECT_EQ(deal.match.settings.exploframewidth, 100 / 5);
}

TEST(SetupMatch, ResetsStatusButKeepsDemo) {
    Deal deal;
    MatchStatus old{};
    old.phase = Draw;
    old.showFps = 1;
    old.fps = 12.5f;
    old.frameCount = 99;
    old.shotSound = old.explosionSound = old.sheepHitSound = 1;
    old.demo = 1;
    deal.match = MakeMatchState(&deal.tables, BaseSettings(), old);
    deal.match.paletteStep = 7;
    SetupMatch(&deal.match, kScreen, &deal.assets, 4242);
    const MatchStatus& status = deal.match.status;
    EXPECT_EQ(status.phase, Running);
    EXPECT_EQ(status.showFps, 0);
    EXPECT_EQ(status.fps, 0.0f);
    EXPECT_EQ(status.frameCount, 0u);
    EXPECT_EQ(status.frameStart, 4242u);
    EXPECT_EQ(status.sheepLeft[0], 1);
    EXPECT_EQ(status.sheepLeft[1], 1);
    EXPECT_EQ(status.shotSound + status.explosionSound + status.sheepHitSound, 0);
    EXPECT_EQ(status.demo, 1);
    EXPECT_EQ(deal.match.paletteStep, 0);
}

// Deals the herds again by hand from the same seed: direction, colour (only for a
// random-colour herd), x, then y, slot after slot, herd 0 then herd 1.
TEST(SetupMatch, DealsHerdsInTheFixedRandomOrder) {
    Deal deal;
    GameSettings settings = BaseSettings();
    settings.sheepmax = 7;
    settings.sheepcolor1 = 2;
    settings.sheepcolor2 = 0;
    srand(1234);
    deal.Start(settings);
    const int afterDeal = rand();

    srand(1234);
    const int colourSetting[2] = {2, 0};
    int sizes[4][2] = {{20, 16}, {22, 18}, {24, 20}, {26, 22}};
    for (int herd = 0; herd < 2; ++herd) {
        for (int j = 0; j < 20; ++j) {
            const Sprite& sheep = deal.match.herds[herd][j];
            int direction = rand() % 2 == 1 ? 1 : -1;
            int colour = colourSetting[herd] != 0 ? colourSetting[herd] : rand() % 2 + 1;
            int picture = direction == 1 ? colour + 1 : colour - 1;
            int w = sizes[picture][0];
            int h = sizes[picture][1];
            int x = rand() % (800 - w);
            int slack = rand() % (80 - h);
            SCOPED_TRACE(testing::Message() << "herd " << herd << " slot " << j);
            EXPECT_EQ(sheep.state, j < 7 ? 1 : 0);
            EXPECT_EQ(sheep.direction, direction);
            EXPECT_EQ(sheep.colour, colour);
            EXPECT_EQ(sheep.image, deal.sheep[picture].get());
            EXPECT_EQ(sheep.x, x);
            EXPECT_EQ(sheep.y, herd == 0 ? 600 - h - slack : slack);
        }
    }
    EXPECT_EQ(afterDeal, rand()) << "the deal drew a different number of random values";
}

TEST(SetupMatch, KeepsSheepInsideTheirStrips) {
    Deal deal;
    for (SurfacePtr& picture : deal.sheep) {
        picture = MakeSurface(20, 30);
    }
    for (int i = 0; i < 4; ++i) {
        deal.assets.sheeppictures[i] = deal.sheep[i].get();
    }
    srand(99);
    for (int round = 0; round < 20; ++round) {
        deal.Start(BaseSettings());
        for (int j = 0; j < 20; ++j) {
            EXPECT_GE(deal.match.herds[0][j].y, 521);
            EXPECT_LE(deal.match.herds[0][j].y, 570);
            EXPECT_GE(deal.match.herds[1][j].y, 0);
            EXPECT_LE(deal.match.herds[1][j].y, 49);
            EXPECT_GE(deal.match.herds[1][j].x, 0);
            EXPECT_LE(deal.match.herds[1][j].x, 780);
        }
    }
}

TEST(SetupMatch, SecondMatchGetsNewHerdsButSamePieces) {
    Deal deal;
    srand(5);
    deal.Start(BaseSettings());
    MatchState first = deal.match;
    Sprite firstPieces[4];
    std::copy(deal.tables.pieces, deal.tables.pieces + 4, firstPieces);
    deal.Start(BaseSettings());
    bool herdsDiffer = false;
    for (int j = 0; j < 20; ++j) {
        herdsDiffer |= first.herds[0][j].x != deal.match.herds[0][j].x;
    }
    EXPECT_TRUE(herdsDiffer);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(firstPieces[i].x, deal.tables.pieces[i].x);
        EXPECT_EQ(firstPieces[i].y, deal.tables.pieces[i].y);
    }
}

TEST(SetupMatch, ColourSettingsChooseHerdColours) {
    Deal deal;
    GameSettings settings = BaseSettings();
    settings.sheepcolor1 = 2;
    settings.sheepcolor2 = 0;
    srand(77);
    deal.Start(settings);
    int white = 0;
    int black = 0;
    for (int j = 0; j < 20; ++j) {
        const Sprite& mine = deal.match.herds[0][j];
        EXPECT_EQ(mine.colour, 2);
        EXPECT_EQ(mine.image, deal.sheep[mine.direction == 1 ? 3 : 1].get());
        const Sprite& theirs = deal.match.herds[1][j];
        (theirs.colour == 1 ? white : black)++;
        EXPECT_EQ(theirs.image,
                  deal.sheep[theirs.direction == 1 ? theirs.colour + 1 : theirs.colour - 1].get());
    }
    EXPECT_EQ(white + black, 20);
    EXPECT_GT(white, 0);
    EXPECT_GT(black, 0);
}

TEST(SetupMatch, EmptyAndSingleSheepHerdsDecideAtTheFirstCheck) {
    Deal deal;
    GameSettings settings = BaseSettings();
    settings.sheepmax = 0;
    deal.Start(settings);
    for (int j = 0; j < 20; ++j) {
        EXPECT_EQ(deal.match.herds[0][j].state, 0);
        EXPECT_EQ(deal.match.herds[1][j].state, 0);
    }
    UpdateOutcome(&deal.match);
    EXPECT_EQ(deal.match.status.phase, Draw);

    settings.sheepmax = 1;
    deal.Start(settings);
    EXPECT_EQ(deal.match.herds[0][0].state, 1);
    EXPECT_EQ(deal.match.herds[0][1].state, 0);
    UpdateOutcome(&deal.match);
    EXPECT_EQ(deal.match.status.phase, SuddenDeath);
}

TEST(SetupMatch, LimitsMaxshotsToTheShotSlots) {
    Deal deal;
    GameSettings settings = BaseSettings();
    settings.maxshots = 20;
    deal.Start(settings);
    EXPECT_EQ(deal.match.settings.maxshots, 10);
    settings.maxshots = 10;
    deal.Start(settings);
    EXPECT_EQ(deal.match.settings.maxshots, 10);
    settings.maxshots = 1;
    deal.Start(settings);
    EXPECT_EQ(deal.match.settings.maxshots, 1);
}

// Pictures too tall for the strip or too wide for the screen must not divide by zero;
// the sheep then sit against the edge, and the deal draws as many values as ever.
TEST(SetupMatch, SurvivesSheepPicturesTooLargeForTheField) {
    const int sizes[][2] = {{20, 80}, {20, 95}, {800, 16}, {900, 16}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1]);
        Deal deal;
        for (int i = 0; i < 4; ++i) {
            deal.sheep[i] = MakeSurface(size[0], size[1]);
            deal.assets.sheeppictures[i] = deal.sheep[i].get();
        }
        srand(3);
        deal.Start(BaseSettings());
        const int afterDeal = rand();
        srand(3);
        for (int k = 0; k < 2 * 20 * 3; ++k) {
            rand();
        }
        EXPECT_EQ(afterDeal, rand());
        for (int j = 0; j < 20; ++j) {
            if (size[0] >= 800) {
                EXPECT_EQ(deal.match.herds[0][j].x, 0);
            }
            if (size[1] >= 80) {
                EXPECT_EQ(deal.match.herds[0][j].y, 600 - size[1]);
                EXPECT_EQ(deal.match.herds[1][j].y, 0);
            }
        }
    }
}

}  // namespace
