// The match rules on hand-built fields: player 1's keys, shot flight, effect timers,
// the computer player, wandering sheep, hits and the outcome.
#include <gtest/gtest.h>

#include <cstdlib>

#include "match/match_rules.h"
#include "match/match_state.h"
#include "test_support.h"

namespace {

constexpr ScreenSize kScreen = {800, 600};
constexpr int kCannonW = 40, kCannonH = 30;
constexpr int kShieldW = 60;
constexpr int kShotW = 4, kShotH = 8;
constexpr int kSheepW = 20, kSheepH = 16;

// A dealt match with empty herds, ready for sprites placed by hand.
struct Field {
    SurfacePtr cannon = MakeSurface(kCannonW, kCannonH);
    SurfacePtr shield = MakeSurface(kShieldW, 10);
    SurfacePtr shot = MakeSurface(kShotW, kShotH);
    SurfacePtr sheep[4] = {MakeSurface(kSheepW, kSheepH), MakeSurface(kSheepW, kSheepH),
                           MakeSurface(kSheepW, kSheepH), MakeSurface(kSheepW, kSheepH)};
    SurfacePtr explosion = MakeSurface(100, 20);
    SurfacePtr blood = MakeSurface(10, 10);
    ThemeAssets assets{};
    MatchTables tables{};
    MatchState match{};
    FakeKeys keys;

    explicit Field(int maxshots = 3, int sheepmax = 3) {
        assets.cannon1 = assets.cannon2 = cannon.get();
        assets.shield1 = assets.shield2 = shield.get();
        for (int i = 0; i < 4; ++i) {
            assets.sheeppictures[i] = sheep[i].get();
        }
        assets.shot = shot.get();
        assets.explosion = explosion.get();
        assets.blood = blood.get();
        GameSettings settings{};
        settings.speednormal = 12;
        settings.speedshift = 6;
        settings.sheepspeed = 3;
        settings.sheepcolor1 = 1;
        settings.sheepcolor2 = 2;
        settings.sheepmax = sheepmax;
        settings.bloodtime = 300;
        settings.explotime = 20;
        settings.maxshots = maxshots;
        settings.shotspeed = 12;
        settings.exploanim = 5;
        settings.frameduration = 30;
        match = MakeMatchState(&tables, settings, MatchStatus{});
        SetupMatch(&match, kScreen, &assets, 0);
        for (auto& herd : match.herds) {
            for (Sprite& s : herd) {
                s.state = 0;
            }
        }
        gMatchKeyLatches = {false, false};
    }

    Sprite& Piece(int index) { return match.pieces[index]; }
    Sprite& Shot(int row, int slot) { return match.shots[row][slot]; }
    Sprite& Sheep(int herd, int slot) { return match.herds[herd][slot]; }

    Sprite& PlaceSheep(int herd, int slot, int x, int y, int state = 1) {
        Sprite& s = match.herds[herd][slot];
        s = Sprite{x, y, state, 1, 1, sheep[2].get()};
        return s;
    }
    Sprite& PlaceShot(int row, int slot, int x, int y) {
        Sprite& s = match.shots[row][slot];
        s.x = x;
        s.y = y;
        s.state = 1;
        return s;
    }
    bool Frame() { return HandleMatchInput(&match, kScreen, keys.Snapshot()); }
    int ActiveShots(int row) {
        int active = 0;
        for (const Sprite& s : match.shots[row]) {
            active += s.state != 0;
        }
        return active;
    }
};

// A seed after which rand() % 2 gives the wanted coin (found, then replayed).
unsigned SeedForCoin(int coin) {
    for (unsigned seed = 1;; ++seed) {
        srand(seed);
        if (rand() % 2 == coin) {
            return seed;
        }
    }
}

void ComputerWithCoin(Field& field, int player, int coin) {
    srand(SeedForCoin(coin));
    ComputerPlayer(&field.match, kScreen, player);
}

// ---- player 1's keys ----

TEST(HandleMatchInput, ArrowsStepTheCannonAndModifiersPickPieceAndStep) {
    struct Case {
        SDLMod mods;
        SDLKey key;
        int piece;
        int dx;
    };
    const Case cases[] = {
        {KMOD_NONE, SDLK_LEFT, kCannon1, -12},
        {KMOD_NONE, SDLK_RIGHT, kCannon1, 12},
        {KMOD_LSHIFT, SDLK_LEFT, kCannon1, -6},
        {KMOD_RSHIFT, SDLK_RIGHT, kCannon1, 6},
        {KMOD_LCTRL, SDLK_LEFT, kShield1, -12},
        {KMOD_RCTRL, SDLK_RIGHT, kShield1, 12},
        {SDLMod(KMOD_LCTRL | KMOD_RSHIFT), SDLK_LEFT, kShield1, -6},
    };
    for (const Case& c : cases) {
        Field field;
        field.keys.mods = c.mods;
        field.keys.Press(c.key);
        const int cannon = field.Piece(kCannon1).x;
        const int shield = field.Piece(kShield1).x;
        field.Frame();
        SCOPED_TRACE(testing::Message() << "mods " << c.mods << " key " << c.key);
        EXPECT_EQ(field.Piece(kCannon1).x, cannon + (c.piece == kCannon1 ? c.dx : 0));
        EXPECT_EQ(field.Piece(kShield1).x, shield + (c.piece == kShield1 ? c.dx : 0));
    }
}

TEST(HandleMatchInput, BothArrowsCancelUnlessAnEdgeCutsAStep) {
    Field field;
    field.keys.Press(SDLK_LEFT);
    field.keys.Press(SDLK_RIGHT);
    field.Piece(kCannon1).x = 300;
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, 300);
    field.Piece(kCannon1).x = 5;  // left step cut to 0, right step whole
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, 12);
}

TEST(HandleMatchInput, PiecesStopAtBothEdges) {
    Field field;
    field.keys.Press(SDLK_LEFT);
    field.Piece(kCannon1).x = 0;
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, 0);
    field.Piece(kCannon1).x = 7;
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, 0);
    field.keys.Release(SDLK_LEFT);
    field.keys.Press(SDLK_RIGHT);
    field.keys.mods = KMOD_LCTRL;
    field.Piece(kShield1).x = 800 - kShieldW - 3;
    field.Frame();
    EXPECT_EQ(field.Piece(kShield1).x, 800 - kShieldW);
    field.Frame();
    EXPECT_EQ(field.Piece(kShield1).x, 800 - kShieldW);
}

TEST(HandleMatchInput, CtrlMovesNothingDuringSuddenDeath) {
    Field field;
    field.match.status.phase = SuddenDeath;
    field.keys.mods = KMOD_LCTRL;
    field.keys.Press(SDLK_LEFT);
    const int cannon = field.Piece(kCannon1).x;
    const int shield = field.Piece(kShield1).x;
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, cannon);
    EXPECT_EQ(field.Piece(kShield1).x, shield);
    field.keys.mods = KMOD_NONE;  // the cannon still moves
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, cannon - 12);
}

TEST(HandleMatchInput, SpaceFiresOncePerPressAboveTheCannon) {
    Field field;
    const Sprite& cannon = field.Piece(kCannon1);
    field.keys.Press(SDLK_SPACE);
    field.Frame();
    ASSERT_EQ(field.ActiveShots(0), 1);
    EXPECT_EQ(field.match.status.shotSound, 1);
    // Fired above the cannon, then moved once in the same frame.
    EXPECT_EQ(field.Shot(0, 0).x, cannon.x + kCannonW / 2 - kShotW / 2);
    EXPECT_EQ(field.Shot(0, 0).y, cannon.y - kShotH - 12);
    field.Frame();
    field.Frame();
    EXPECT_EQ(field.ActiveShots(0), 1) << "holding Space fired again";
    field.keys.Release(SDLK_SPACE);
    field.Frame();
    field.keys.Press(SDLK_SPACE);
    field.Frame();
    EXPECT_EQ(field.ActiveShots(0), 2);
    EXPECT_EQ(field.Shot(0, 1).state, 1);
}

TEST(HandleMatchInput, MaxshotsLimitsShotsInFlightAndAPressIsUsedUp) {
    Field field(1);
    field.Shot(0, 1).state = 1;  // beyond maxshots: ignored for counting
    field.keys.Press(SDLK_SPACE);
    field.Frame();
    EXPECT_EQ(field.Shot(0, 0).state, 1);
    field.keys.Release(SDLK_SPACE);
    field.Frame();
    field.keys.Press(SDLK_SPACE);
    field.Frame();  // no free slot: this press is spent
    field.Shot(0, 0).state = 0;
    field.Frame();
    EXPECT_EQ(field.Shot(0, 0).state, 0) << "a held Space fired once a slot was free";
    field.keys.Release(SDLK_SPACE);
    field.Frame();
    field.keys.Press(SDLK_SPACE);
    field.Frame();
    EXPECT_EQ(field.Shot(0, 0).state, 1);
}

TEST(HandleMatchInput, FiringIgnoresTheOutcome) {
    Field field;
    field.match.status.phase = Player2Won;
    field.keys.Press(SDLK_SPACE);
    field.Frame();
    EXPECT_EQ(field.ActiveShots(0), 1);
}

TEST(HandleMatchInput, ShotsFlyAndLeaveTheScreen) {
    Field field(3);
    field.PlaceShot(0, 0, 100, 4);    // ends at y = -8: bottom edge exactly at 0, stays
    field.PlaceShot(0, 1, 100, 3);    // ends at y = -9: gone
    field.PlaceShot(1, 0, 100, 588);  // ends at 600 = H: stays
    field.PlaceShot(1, 1, 100, 589);  // ends at 601: gone
    field.PlaceShot(1, 5, 100, 300);  // beyond maxshots: not moved
    field.Frame();
    EXPECT_EQ(field.Shot(0, 0).y, -8);
    EXPECT_EQ(field.Shot(0, 0).state, 1);
    EXPECT_EQ(field.Shot(0, 1).state, 0);
    EXPECT_EQ(field.Shot(1, 0).y, 600);
    EXPECT_EQ(field.Shot(1, 0).state, 1);
    EXPECT_EQ(field.Shot(1, 1).state, 0);
    EXPECT_EQ(field.Shot(1, 5).y, 300);
}

TEST(HandleMatchInput, EffectsCountDownInEverySlot) {
    Field field;
    field.match.explosions[0].state = 20;
    field.match.explosions[19].state = 1;
    field.match.blood[39].state = 300;
    field.Frame();
    EXPECT_EQ(field.match.explosions[0].state, 19);
    EXPECT_EQ(field.match.explosions[19].state, 0);
    EXPECT_EQ(field.match.explosions[5].state, 0);
    EXPECT_EQ(field.match.blood[39].state, 299);
    EXPECT_EQ(field.match.blood[0].state, 0);
}

TEST(HandleMatchInput, FTogglesOncePerPressAndEscEnds) {
    Field field;
    field.keys.Press(SDLK_f);
    EXPECT_FALSE(field.Frame());
    EXPECT_EQ(field.match.status.showFps, 1);
    field.Frame();
    EXPECT_EQ(field.match.status.showFps, 1);
    field.keys.Release(SDLK_f);
    field.Frame();
    field.keys.Press(SDLK_f);
    field.Frame();
    EXPECT_EQ(field.match.status.showFps, 0);
    field.keys.Press(SDLK_ESCAPE);
    EXPECT_TRUE(field.Frame());
}

TEST(HandleMatchInput, DemoIgnoresPlayerKeysButShotsFlyAndFWorks) {
    Field field;
    field.match.status.demo = 1;
    field.PlaceShot(0, 2, 100, 300);
    field.keys.Press(SDLK_LEFT);
    field.keys.Press(SDLK_SPACE);
    field.keys.Press(SDLK_f);
    const int cannon = field.Piece(kCannon1).x;
    field.Frame();
    EXPECT_EQ(field.Piece(kCannon1).x, cannon);
    EXPECT_EQ(field.ActiveShots(0), 1);
    EXPECT_EQ(field.Shot(0, 2).y, 288);
    EXPECT_EQ(field.match.status.showFps, 1);
    // The Space latch was not touched in the demo, so a Space still held counts as new.
    field.match.status.demo = 0;
    field.Frame();
    EXPECT_EQ(field.ActiveShots(0), 2);
}

// ---- the computer player ----

TEST(ComputerPlayer, ShieldTurnFollowsTheEnemyCannon) {
    Field field;
    Sprite& shield = field.Piece(kShield2);
    field.Piece(kCannon1).x = 300;
    shield.x = 200;
    ComputerWithCoin(field, 2, 1);
    EXPECT_EQ(shield.x, 212);
    shield.x = 400;
    ComputerWithCoin(field, 2, 1);
    EXPECT_EQ(shield.x, 388);
    shield.x = 300;
    ComputerWithCoin(field, 2, 1);
    EXPECT_EQ(shield.x, 300);
    shield.x = 295;  // less than one step short: over and back again
    ComputerWithCoin(field, 2, 1);
    EXPECT_EQ(shield.x, 295);
    EXPECT_EQ(field.ActiveShots(1), 0) << "a shield turn fired";
}

TEST(ComputerPlayer, ShieldTurnStopsAtTheRightEdge) {
    Field field;
    field.Piece(kCannon1).x = 800 - 5;
    field.Piece(kShield2).x = 800 - kShieldW - 4;
    ComputerWithCoin(field, 2, 1);
    EXPECT_EQ(field.Piece(kShield2).x, 800 - kShieldW);
}

TEST(ComputerPlayer, CannonTurnAimsAtTheFirstUncoveredSheepAndFires) {
    Field field;
    field.Piece(kShield1).x = 300;
    field.PlaceSheep(0, 0, 600, 550, 0);  // dead
    field.PlaceSheep(0, 1, 400, 550);     // exactly 100 away: covered
    field.PlaceSheep(0, 2, 401, 550);     // 101 away: the target
    Sprite& cannon = field.Piece(kCannon2);
    cannon.x = 380;
    ComputerWithCoin(field, 2, 0);
    EXPECT_EQ(cannon.x, 392);
    ASSERT_EQ(field.ActiveShots(1), 1);
    EXPECT_EQ(field.Shot(1, 0).x, 392 + kCannonW / 2 - kShotW / 2);
    EXPECT_EQ(field.Shot(1, 0).y, cannon.y + kCannonH);
    EXPECT_EQ(field.match.status.shotSound, 1);

    field.PlaceSheep(0, 0, 200, 550);  // exactly 100 to the left: covered as well
    field.Sheep(0, 2).x = 199;         // 101 to the left: the target
    cannon.x = 200;
    ComputerWithCoin(field, 2, 0);
    EXPECT_EQ(cannon.x, 188);
}

TEST(ComputerPlayer, WithEveryEnemySheepCoveredAimsAtTheSlotAfterTheHerd) {
    Field field(3, 3);
    field.Piece(kShield1).x = 300;
    for (int j = 0; j < 3; ++j) {
        field.PlaceSheep(0, j, 320, 550);
    }
    field.Sheep(0, 3).x = 100;  // inactive, keeps its dealt x
    field.Piece(kCannon2).x = 150;
    ComputerWithCoin(field, 2, 0);
    EXPECT_EQ(field.Piece(kCannon2).x, 138);
}

TEST(ComputerPlayer, WithAFullCoveredHerdTheCannonStays) {
    Field field(3, 20);
    field.Piece(kShield1).x = 300;
    for (int j = 0; j < 20; ++j) {
        field.PlaceSheep(0, j, 350, 550);
    }
    field.Piece(kCannon2).x = 150;
    ComputerWithCoin(field, 2, 0);
    EXPECT_EQ(field.Piece(kCannon2).x, 150);
    EXPECT_EQ(field.ActiveShots(1), 1) << "it still fires";
}

TEST(ComputerPlayer, FiresOnlyWhileTheMatchIsOpenAndWithinMaxshots) {
    Field field(2);
    field.PlaceSheep(0, 0, 700, 550);
    field.match.status.phase = Player1Won;
    ComputerWithCoin(field, 2, 0);
    EXPECT_EQ(field.ActiveShots(1), 0);
    EXPECT_EQ(field.match.status.shotSound, 0);
    field.match.status.phase = SuddenDeath;
    ComputerWithCoin(field, 2, 1);  // no guarding in sudden death: the coin does not matter
    ComputerWithCoin(field, 2, 0);
    ComputerWithCoin(field, 2, 0);
    EXPECT_EQ(field.ActiveShots(1), 2);
}

TEST(ComputerPlayer, PlaysPlayerOneFromBelowItsCannon) {
    Field field;
    field.match.status.demo = 1;
    field.PlaceSheep(1, 0, 700, 10);
    Sprite& cannon = field.Piece(kCannon1);
    const int shieldBefore = field.Piece(kShield1).x;
    ComputerWithCoin(field, 1, 0);
    ASSERT_EQ(field.ActiveShots(0), 1);
    EXPECT_EQ(field.Shot(0, 0).y, cannon.y + kCannonH);
    EXPECT_EQ(field.ActiveShots(1), 0);
    EXPECT_EQ(field.Piece(kShield1).x, shieldBefore);
    field.Piece(kCannon2).x = 100;
    ComputerWithCoin(field, 1, 1);
    EXPECT_EQ(field.Piece(kShield1).x, shieldBefore - 12);
}

// ---- sheep ----

// Replays MoveSheep's draws for one standing sheep: random(100), then random(50) + 5
// only when it sets off, then the direction.
struct StandingDraw {
    int state;
    int direction;
};
StandingDraw ReplayStanding(unsigned seed) {
    srand(seed);
    StandingDraw draw{1, 0};
    if (rand() % 100 == 1) {
        draw.state = rand() % 50 + 5;
    }
    draw.direction = rand() % 2 == 1 ? 1 : -1;
    return draw;
}

TEST(MoveSheep, StandingSheepDrawsDirectionAndSometimesSetsOff) {
    unsigned setsOff = 0;
    for (unsigned seed = 1; setsOff == 0; ++seed) {
        srand(seed);
        if (rand() % 100 == 1) {
            setsOff = seed;
        }
    }
    for (unsigned seed : {1u, 2u, setsOff}) {
        Field field(3, 1);
        Sprite& sheep = field.PlaceSheep(0, 0, 400, 550);
        sheep.direction = -1;
        sheep.image = field.sheep[0].get();
        StandingDraw expected = ReplayStanding(seed);
        srand(seed);
        MoveSheep(&field.match, kScreen);
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        if (expected.state == 1) {
            EXPECT_EQ(sheep.state, 1);
            EXPECT_EQ(sheep.direction, expected.direction);
            EXPECT_EQ(sheep.x, 400);
            EXPECT_EQ(sheep.image, field.sheep[0].get()) << "a standing sheep turned";
        } else {
            // Sets off and takes its first step in the same frame.
            EXPECT_EQ(sheep.state, expected.state - 1);
            EXPECT_EQ(sheep.x, 400 + 3 * expected.direction);
            EXPECT_EQ(sheep.image, field.sheep[expected.direction == 1 ? 2 : 0].get());
        }
    }
}

TEST(MoveSheep, WalkingSheepStepsAndFacesItsWay) {
    Field field(3, 2);
    Sprite& white = field.PlaceSheep(0, 0, 400, 550, 5);
    white.direction = -1;
    Sprite& black = field.PlaceSheep(1, 1, 100, 10, 2);
    black.colour = 2;
    srand(1);
    MoveSheep(&field.match, kScreen);
    EXPECT_EQ(white.state, 4);
    EXPECT_EQ(white.x, 397);
    EXPECT_EQ(white.image, field.sheep[0].get());
    EXPECT_EQ(black.state, 1);
    EXPECT_EQ(black.x, 103);
    EXPECT_EQ(black.image, field.sheep[3].get());
}

TEST(MoveSheep, WrapsAtBothEdges) {
    Field field(3, 3);
    Sprite& left = field.PlaceSheep(0, 0, 2, 550, 9);
    left.direction = -1;
    Sprite& exact = field.PlaceSheep(0, 1, 800 - kSheepW - 3, 550, 9);
    Sprite& over = field.PlaceSheep(0, 2, 800 - kSheepW - 2, 550, 9);
    MoveSheep(&field.match, kScreen);
    EXPECT_EQ(left.x, 800 - kSheepW);
    EXPECT_EQ(exact.x, 800 - kSheepW);
    EXPECT_EQ(over.x, 0);
}

TEST(MoveSheep, ZeroSpeedTurnsWithoutMoving) {
    Field field(3, 1);
    field.match.settings.sheepspeed = 0;
    Sprite& sheep = field.PlaceSheep(1, 0, 300, 10, 6);
    sheep.direction = -1;
    MoveSheep(&field.match, kScreen);
    EXPECT_EQ(sheep.x, 300);
    EXPECT_EQ(sheep.image, field.sheep[0].get());
}

TEST(MoveSheep, SkipsDeadSheepAndSlotsBeyondTheHerdWithoutDrawing) {
    Field field(3, 2);
    field.PlaceSheep(0, 0, 300, 550, 0);
    field.PlaceSheep(0, 2, 300, 550, 7);  // beyond sheepmax
    field.PlaceSheep(1, 0, 300, 10, 3);   // walking: draws nothing
    srand(8);
    const int next = rand();
    srand(8);
    MoveSheep(&field.match, kScreen);
    EXPECT_EQ(rand(), next);
    EXPECT_EQ(field.Sheep(0, 2).state, 7);
    EXPECT_EQ(field.Sheep(0, 2).x, 300);
}

// ---- hits ----

TEST(ShotOverlaps, EdgesCountAndAWiderShotNeedsAnEdgeInside) {
    Field field;
    const Sprite target{100, 100, 1, 1, 1, field.sheep[0].get()};  // 100..120 x 100..116
    SurfacePtr wide = MakeSurface(40, 8);
    SurfacePtr tall = MakeSurface(4, 40);
    struct Case {
        int x, y;
        SDL_Surface* image;
        bool hit;
    };
    const Case cases[] = {
        {96, 100, field.shot.get(), true},  // right edge on the target's left edge
        {95, 100, field.shot.get(), false},
        {120, 100, field.shot.get(), true},  // left edge on the target's right edge
        {121, 100, field.shot.get(), false},
        {110, 92, field.shot.get(), true},  // bottom edge on the target's top edge
        {110, 91, field.shot.get(), false},
        {110, 116, field.shot.get(), true},
        {110, 117, field.shot.get(), false},
        {90, 104, wide.get(), false},  // covers the target with neither edge inside
        {80, 104, wide.get(), true},   // right edge exactly on the target's right edge
        {108, 90, tall.get(), false},
        {108, 76, tall.get(), true},
    };
    for (const Case& c : cases) {
        Sprite shot{c.x, c.y, 1, 0, 0, c.image};
        EXPECT_EQ(ShotOverlaps(shot, target), c.hit) << "shot at " << c.x << "," << c.y;
    }
}

TEST(ResolveHits, ShotOnTheEnemyCannonExplodesOnly) {
    Field field;
    const Sprite& cannon = field.Piece(kCannon2);
    Sprite& shot = field.PlaceShot(0, 1, cannon.x + 10, cannon.y + 5);
    ResolveHits(&field.match);
    EXPECT_EQ(shot.state, 0);
    const Sprite& explosion = field.match.explosions[1];
    EXPECT_EQ(explosion.state, 20);
    // Centred with the shot's width both ways; the frame width is 100 / 5.
    EXPECT_EQ(explosion.x, cannon.x + 10 + kShotW / 2 - 10);
    EXPECT_EQ(explosion.y, cannon.y + 5 + kShotW / 2 - 10);
    EXPECT_EQ(field.match.status.explosionSound, 1);
    EXPECT_EQ(field.match.status.sheepHitSound, 0);
    EXPECT_EQ(field.Piece(kCannon2).state, 1);
}

TEST(ResolveHits, OneShotCanExplodeAndKillSeveralSheepInOnePass) {
    Field field;
    const Sprite& shield = field.Piece(kShield2);
    Sprite& first = field.PlaceSheep(1, 0, shield.x + 5, shield.y - 4);
    Sprite& second = field.PlaceSheep(1, 2, shield.x + 8, shield.y);
    Sprite& dead = field.PlaceSheep(1, 1, shield.x + 8, shield.y, 0);
    Sprite& shot = field.PlaceShot(0, 0, shield.x + 10, shield.y + 2);
    ResolveHits(&field.match);
    EXPECT_EQ(shot.state, 0);
    EXPECT_EQ(first.state, 0);
    EXPECT_EQ(second.state, 0);
    EXPECT_EQ(dead.state, 0);
    EXPECT_EQ(field.match.explosions[0].state, 20);
    // The last kill wrote the splash.
    EXPECT_EQ(field.match.blood[0].state, 300);
    EXPECT_EQ(field.match.blood[0].x, (shot.x + second.x) / 2);
    EXPECT_EQ(field.match.blood[0].y, (shot.y + second.y) / 2);
    EXPECT_EQ(field.match.status.sheepHitSound, 1);
    EXPECT_EQ(field.match.status.explosionSound, 1);
}

TEST(ResolveHits, ShotsSpareTheirOwnSideAndSlotsBeyondTheLimits) {
    Field field(2, 2);
    Sprite& own = field.PlaceSheep(0, 0, 300, 550);
    field.PlaceShot(0, 0, 305, 552);  // player 1's shot on its own sheep
    const Sprite& ownCannon = field.Piece(kCannon1);
    field.PlaceShot(0, 1, ownCannon.x, ownCannon.y);  // and on its own cannon
    Sprite& beyondHerd = field.PlaceSheep(1, 2, 300, 10);
    field.PlaceShot(0, 3, 300, 10);  // shot slot beyond maxshots
    field.PlaceShot(1, 0, 300, 10);  // player 2's shot on sheep slot 2 > sheepmax
    ResolveHits(&field.match);
    EXPECT_EQ(own.state, 1);
    EXPECT_EQ(beyondHerd.state, 1);
    EXPECT_EQ(field.Shot(0, 0).state, 1);
    EXPECT_EQ(field.Shot(0, 1).state, 1);
    EXPECT_EQ(field.Shot(0, 3).state, 1);
    EXPECT_EQ(field.match.status.explosionSound + field.match.status.sheepHitSound, 0);
}

TEST(ResolveHits, PlayerTwoEffectsUseSlotsAfterMaxshots) {
    Field field(3);
    const Sprite& shield = field.Piece(kShield1);
    field.PlaceShot(1, 1, shield.x + 3, shield.y);
    Sprite& sheep = field.PlaceSheep(0, 0, 600, 560);
    field.PlaceShot(1, 2, 605, 560);
    field.PlaceShot(0, 1, 605, 300);  // in the air: player 1's slot 1 stays untouched
    ResolveHits(&field.match);
    EXPECT_EQ(field.match.explosions[3 + 1].state, 20);
    EXPECT_EQ(field.match.explosions[1].state, 0);
    EXPECT_EQ(sheep.state, 0);
    EXPECT_EQ(field.match.blood[3 + 2].state, 300);
    EXPECT_EQ(field.match.blood[2].state, 0);
    EXPECT_EQ(field.Shot(0, 1).state, 1);
}

// ---- outcome ----

TEST(UpdateOutcome, WalksThroughThePhasesAndResultsStay) {
    Field field(3, 4);
    for (int j = 0; j < 3; ++j) {
        field.PlaceSheep(0, j, 100 * j, 550);
    }
    field.PlaceSheep(1, 0, 100, 10);
    field.PlaceSheep(0, 5, 100, 10);  // beyond sheepmax: never counted
    field.match.paletteStep = 9;
    UpdateOutcome(&field.match);
    EXPECT_EQ(field.match.status.phase, Running);
    EXPECT_EQ(field.match.status.sheepLeft[0], 3);
    EXPECT_EQ(field.match.status.sheepLeft[1], 1);
    EXPECT_EQ(field.match.paletteStep, 9) << "reset without a phase change";

    field.Sheep(0, 0).state = 0;
    field.Sheep(0, 1).state = 0;
    UpdateOutcome(&field.match);
    EXPECT_EQ(field.match.status.phase, SuddenDeath);
    EXPECT_EQ(field.match.paletteStep, 0);

    field.match.paletteStep = 4;
    UpdateOutcome(&field.match);
    EXPECT_EQ(field.match.status.phase, SuddenDeath);
    EXPECT_EQ(field.match.paletteStep, 4);

    field.Sheep(1, 0).state = 0;
    UpdateOutcome(&field.match);
    EXPECT_EQ(field.match.status.phase, Player1Won);
    EXPECT_EQ(field.match.paletteStep, 0);

    // Decided stays decided, while the counts follow the herds.
    field.Sheep(0, 2).state = 0;
    field.match.paletteStep = 3;
    UpdateOutcome(&field.match);
    EXPECT_EQ(field.match.status.phase, Player1Won);
    EXPECT_EQ(field.match.status.sheepLeft[0], 0);
    EXPECT_EQ(field.match.paletteStep, 3);
}

TEST(UpdateOutcome, DecidesEachResultFromRunning) {
    struct Case {
        int left0, left1, phase;
    };
    const Case cases[] = {
        {2, 0, Player1Won},  {0, 2, Player2Won}, {0, 0, Draw},
        {1, 1, SuddenDeath}, {2, 1, Running},    {1, 2, Running},
    };
    for (const Case& c : cases) {
        Field field(3, 4);
        for (int j = 0; j < c.left0; ++j) {
            field.PlaceSheep(0, j, 0, 550);
        }
        for (int j = 0; j < c.left1; ++j) {
            field.PlaceSheep(1, j, 0, 10);
        }
        UpdateOutcome(&field.match);
        EXPECT_EQ(field.match.status.phase, c.phase) << c.left0 << ":" << c.left1;
    }
}

TEST(UpdateOutcome, BothLastSheepDyingInOneFrameIsADraw) {
    Field field(3, 2);
    field.match.status.phase = SuddenDeath;
    field.PlaceSheep(0, 0, 300, 560);
    field.PlaceSheep(1, 0, 300, 10);
    field.PlaceShot(0, 0, 305, 12);
    field.PlaceShot(1, 0, 305, 562);
    ResolveHits(&field.match);
    UpdateOutcome(&field.match);
    EXPECT_EQ(field.match.status.phase, Draw);
}

TEST(ClampPieceX, KeepsPiecesOnScreen) {
    Field field;
    Sprite piece{-5, 0, 1, 0, 0, field.shield.get()};
    ClampPieceX(&piece, kScreen);
    EXPECT_EQ(piece.x, 0);
    piece.x = 800;
    ClampPieceX(&piece, kScreen);
    EXPECT_EQ(piece.x, 800 - kShieldW);
    // A piece wider than the screen ends at 0: the left edge is tested last.
    Sprite wide{10, 0, 1, 0, 0, nullptr};
    SurfacePtr huge = MakeSurface(900, 4);
    wide.image = huge.get();
    ClampPieceX(&wide, kScreen);
    EXPECT_EQ(wide.x, 0);
}

}  // namespace
