// The match rules on hand-placed fields: player 1's keys, shot flight, effect timers,
// the computer player, wandering sheep, hits and the outcome.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "match/match_rules.h"
#include "test_support.h"

namespace {

constexpr ScreenSize kScreen = {800, 600};
constexpr int kCannonW = 40, kCannonH = 30, kShieldW = 60;
constexpr int kShotW = 4, kShotH = 8, kSheepW = 20;

// A dealt match (three shots, herds of 20) with empty herds and released key latches.
struct Field : TestMatch {
    FakeKeys keys;
    Field() {
        EmptyHerds();
        gMatchKeyLatches = {false, false};
    }
    Sprite& Piece(int index) { return match.pieces[index]; }
    Sprite& Shot(int row, int slot) { return match.shots[row][slot]; }
    Sprite& Sheep(int herd, int slot) { return match.herds[herd][slot]; }
    Sprite& PlaceSheep(int herd, int slot, int x, int y, int state = 1) {
        return Sheep(herd, slot) = Sprite{x, y, state, 1, 1, theme.sheep[2].get()};
    }
    Sprite& PlaceShot(int row, int slot, int x, int y) {
        return Shot(row, slot) = Sprite{x, y, 1, 0, 0, theme.shot.get()};
    }
    bool Frame() { return HandleMatchInput(&match, kScreen, keys.Snapshot()); }
    // "1" for each shot slot of the row in flight, "0" for each free one.
    std::string ShotsInFlight(int row) const {
        std::string flags;
        for (const Sprite& shot : match.shots[row]) {
            flags += shot.state != 0 ? '1' : '0';
        }
        return flags;
    }
    // One computer frame, seeded so its first draw, the coin, comes out as given.
    void Computer(int player, int coin) {
        unsigned seed = 1;
        for (srand(seed); rand() % 2 != coin; srand(++seed)) {
        }
        srand(seed);
        ComputerPlayer(&match, kScreen, player);
    }
};

TEST(HandleMatchInput, ArrowsStepOnePieceAndTheEdgesStopIt) {
    struct Case {
        int phase;
        SDLMod mods;
        bool left, right;
        int piece, from, to;
    };
    const Case cases[] = {
        {Running, KMOD_NONE, true, false, kCannon1, 300, 288},
        {Running, KMOD_LSHIFT, true, false, kCannon1, 300, 294},
        {Running, KMOD_RSHIFT, false, true, kCannon1, 300, 306},
        {Running, KMOD_RCTRL, false, true, kShield1, 300, 312},
        {Running, SDLMod(KMOD_LCTRL | KMOD_LSHIFT), true, false, kShield1, 300, 294},
        {Running, KMOD_NONE, true, true, kCannon1, 5, 12},  // left step cut at 0, right whole
        {Running, KMOD_LCTRL, false, true, kShield1, 800 - kShieldW - 3, 800 - kShieldW},
        {SuddenDeath, KMOD_LCTRL, true, false, kShield1, 300, 300},  // the shield is frozen
        {SuddenDeath, KMOD_NONE, true, false, kCannon1, 300, 288},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Field field;
        field.match.status.phase = c.phase;
        field.keys.mods = c.mods;
        field.keys.held[SDLK_LEFT] = c.left;
        field.keys.held[SDLK_RIGHT] = c.right;
        const int other = c.piece == kCannon1 ? kShield1 : kCannon1;
        const int otherX = field.Piece(other).x;
        field.Piece(c.piece).x = c.from;
        field.Frame();
        EXPECT_EQ(field.Piece(c.piece).x, c.to);
        EXPECT_EQ(field.Piece(other).x, otherX);
    }
}

TEST(HandleMatchInput, SpaceFiresOncePerPressWithinMaxshotsWhateverTheOutcome) {
    Field field;
    field.match.settings.maxshots = 2;
    field.match.status.phase = Player2Won;
    field.Shot(0, 2).state = 1;  // beyond maxshots
    auto press = [&field] {
        field.keys.Release(SDLK_SPACE);
        field.Frame();
        field.keys.Press(SDLK_SPACE);
        field.Frame();
    };
    press();
    EXPECT_EQ(field.ShotsInFlight(0), "1010000000");
    // Fired just above the cannon, then moved once in the same frame.
    EXPECT_EQ(field.Shot(0, 0).y, field.Piece(kCannon1).y - kShotH - 12);
    field.Frame();
    EXPECT_EQ(field.ShotsInFlight(0), "1010000000") << "holding Space fired again";
    press();
    press();  // both slots in flight: this press is spent
    EXPECT_EQ(field.ShotsInFlight(0), "1110000000");
    field.Shot(0, 0).state = 0;
    field.Frame();
    EXPECT_EQ(field.ShotsInFlight(0), "0110000000") << "a held Space fired later";
    press();
    EXPECT_EQ(field.ShotsInFlight(0), "1110000000");
}

// Everything a frame does besides player 1's keys, here in the demo, which ignores them.
TEST(HandleMatchInput, DemoFrameFliesShotsCountsDownEffectsAndReadsFAndEsc) {
    Field field;
    field.match.status.demo = 1;
    field.PlaceShot(0, 0, 100, 4);    // ends at y = -8: bottom edge on 0, stays
    field.PlaceShot(0, 1, 100, 3);    // gone
    field.PlaceShot(1, 0, 100, 588);  // ends at 600 = H: stays
    field.PlaceShot(1, 1, 100, 589);  // gone
    field.PlaceShot(1, 5, 100, 300);  // beyond maxshots: not moved
    field.match.explosions[19].state = 1;
    field.match.blood[39].state = 300;
    field.keys.Press(SDLK_LEFT);
    field.keys.Press(SDLK_SPACE);
    field.keys.Press(SDLK_f);
    const int cannon = field.Piece(kCannon1).x;
    EXPECT_FALSE(field.Frame());
    EXPECT_EQ(field.Piece(kCannon1).x, cannon);
    EXPECT_EQ(field.ShotsInFlight(0), "1000000000");
    EXPECT_EQ(field.ShotsInFlight(1), "1000010000");
    EXPECT_EQ(field.Shot(0, 0).y, -8);
    EXPECT_EQ(field.Shot(1, 0).y, 600);
    EXPECT_EQ(field.Shot(1, 5).y, 300);
    EXPECT_EQ(field.match.explosions[19].state, 0);
    EXPECT_EQ(field.match.blood[39].state, 299);
    EXPECT_EQ(field.match.blood[0].state, 0);
    EXPECT_EQ(field.match.status.showFps, 1);

    field.Frame();  // F still held: no second toggle
    field.keys.Release(SDLK_f);
    field.Frame();
    field.keys.Press(SDLK_f);
    field.Frame();
    EXPECT_EQ(field.match.status.showFps, 0);
    // The demo left the Space latch alone, so a Space still held counts as new.
    field.match.status.demo = 0;
    field.Frame();
    EXPECT_EQ(field.ShotsInFlight(0), "1000000000");
    field.keys.Press(SDLK_ESCAPE);
    EXPECT_TRUE(field.Frame());
}

TEST(ComputerPlayer, ShieldTurnSteersTowardTheEnemyCannonWithoutFiring) {
    struct Case {
        int cannon, from, to;
    };
    const Case cases[] = {{300, 200, 212},
                          {300, 400, 388},
                          {300, 295, 295},  // less than a step short: over and back again
                          {795, 800 - kShieldW - 4, 800 - kShieldW}};
    for (const Case& c : cases) {
        Field field;
        field.Piece(kCannon1).x = c.cannon;
        field.Piece(kShield2).x = c.from;
        field.Computer(2, 1);
        EXPECT_EQ(field.Piece(kShield2).x, c.to) << "from " << c.from;
        EXPECT_EQ(field.ShotsInFlight(1), "0000000000");
    }
}

// The enemy shield covers sheep up to 100 away on either side; with every sheep
// covered the cannon aims at the slot after the herd, which a full herd lacks.
TEST(ComputerPlayer, CannonTurnAimsAtTheFirstUncoveredSheepAndFires) {
    Field field;
    field.Piece(kShield1).x = 300;
    field.PlaceSheep(0, 0, 100, 550, 0);  // dead
    field.PlaceSheep(0, 1, 400, 550);
    field.PlaceSheep(0, 2, 401, 550);  // the target
    Sprite& cannon = field.Piece(kCannon2);
    cannon.x = 380;
    field.Computer(2, 0);
    EXPECT_EQ(cannon.x, 392);
    EXPECT_EQ(field.ShotsInFlight(1), "1000000000");
    EXPECT_EQ(field.Shot(1, 0).x, 392 + kCannonW / 2 - kShotW / 2);
    EXPECT_EQ(field.Shot(1, 0).y, cannon.y + kCannonH);
    EXPECT_EQ(field.match.status.shotSound, 1);

    field.PlaceSheep(0, 0, 200, 550);
    field.Sheep(0, 2).x = 199;  // the target
    cannon.x = 200;
    field.Computer(2, 0);
    EXPECT_EQ(cannon.x, 188);

    field.match.settings.sheepmax = 2;
    field.Sheep(0, 2).x = 100;  // outside the herd now
    cannon.x = 150;
    field.Computer(2, 0);
    EXPECT_EQ(cannon.x, 138);

    field.match.settings.sheepmax = 20;
    for (int j = 0; j < 20; ++j) {
        field.PlaceSheep(0, j, 350, 550);
    }
    field.Shot(1, 0).state = 0;
    field.Computer(2, 0);
    EXPECT_EQ(cannon.x, 138);
    EXPECT_EQ(field.ShotsInFlight(1), "1110000000") << "it still fires";
}

TEST(ComputerPlayer, PlaysEitherSideAndFiresOnlyWhileTheMatchIsOpen) {
    Field field;
    field.PlaceSheep(1, 0, 700, 10);
    const int shield = field.Piece(kShield1).x;
    field.Computer(1, 0);
    EXPECT_EQ(field.ShotsInFlight(0), "1000000000");
    EXPECT_EQ(field.Shot(0, 0).y, field.Piece(kCannon1).y + kCannonH);  // below, as player 2
    EXPECT_EQ(field.Piece(kShield1).x, shield);
    field.Piece(kCannon2).x = 100;
    field.Computer(1, 1);
    EXPECT_EQ(field.Piece(kShield1).x, shield - 12);

    field.match.status.phase = Player1Won;
    field.Computer(2, 0);
    EXPECT_EQ(field.ShotsInFlight(1), "0000000000");
    field.match.status.phase = SuddenDeath;
    field.Computer(2, 1);  // no guarding in sudden death: the coin does not matter
    EXPECT_EQ(field.ShotsInFlight(1), "1000000000");
}

TEST(MoveSheep, StandingSheepDrawsDirectionAndSometimesSetsOff) {
    unsigned setsOff = 1;
    for (srand(setsOff); rand() % 100 != 1; srand(++setsOff)) {
    }
    for (unsigned seed : {1u, 2u, setsOff}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        // The draws: random(100), random(50) + 5 only when it sets off, the direction.
        srand(seed);
        const bool walks = rand() % 100 == 1;
        const int state = walks ? rand() % 50 + 5 : 1;
        const int direction = rand() % 2 == 1 ? 1 : -1;

        Field field;
        Sprite& sheep = field.PlaceSheep(0, 0, 400, 550);
        sheep.direction = -1;
        sheep.image = field.theme.sheep[0].get();
        srand(seed);
        MoveSheep(&field.match, kScreen);
        EXPECT_EQ(sheep.direction, direction);
        // A walker takes its first step in the same frame; a standing sheep keeps its picture.
        EXPECT_EQ(sheep.state, walks ? state - 1 : 1);
        EXPECT_EQ(sheep.x, walks ? 400 + 3 * direction : 400);
        EXPECT_EQ(sheep.image, field.theme.sheep[walks && direction == 1 ? 2 : 0].get());
    }
}

TEST(MoveSheep, WalkersStepFaceTheirWayAndWrapWithoutDrawing) {
    Field field;
    field.match.settings.sheepmax = 5;
    Sprite& white = field.PlaceSheep(0, 0, 400, 550, 5);
    white.direction = -1;
    Sprite& black = field.PlaceSheep(1, 1, 100, 10, 2);
    black.colour = 2;
    Sprite& left = field.PlaceSheep(0, 1, 2, 550, 9);
    left.direction = -1;
    Sprite& exact = field.PlaceSheep(0, 2, 800 - kSheepW - 3, 550, 9);
    Sprite& over = field.PlaceSheep(0, 3, 800 - kSheepW - 2, 550, 9);
    Sprite& outside = field.PlaceSheep(0, 5, 300, 550);  // beyond sheepmax: would draw
    srand(8);
    const int next = rand();
    srand(8);
    MoveSheep(&field.match, kScreen);
    EXPECT_EQ(rand(), next) << "walking sheep or slots beyond the herd drew";
    EXPECT_EQ(white.state, 4);
    EXPECT_EQ(white.x, 397);
    EXPECT_EQ(white.image, field.theme.sheep[0].get());
    EXPECT_EQ(black.state, 1);
    EXPECT_EQ(black.x, 103);
    EXPECT_EQ(black.image, field.theme.sheep[3].get());
    EXPECT_EQ(left.x, 800 - kSheepW);
    EXPECT_EQ(exact.x, 800 - kSheepW);
    EXPECT_EQ(over.x, 0);
    EXPECT_EQ(outside.x, 300);
}

TEST(ShotOverlaps, EdgesCountAndAWiderShotNeedsAnEdgeInside) {
    Field field;
    const Sprite target{100, 100, 1, 1, 1, field.theme.sheep[0].get()};  // 100..120 x 100..116
    SDL_Surface* shot = field.theme.shot.get();
    SurfacePtr wide = MakeSurface(40, 8);
    SurfacePtr tall = MakeSurface(4, 40);
    struct Case {
        int x, y;
        SDL_Surface* image;
        bool hit;
    };
    // A shot covering the target with neither edge inside misses.
    const Case cases[] = {
        {96, 100, shot, true},       {95, 100, shot, false},       {120, 100, shot, true},
        {121, 100, shot, false},     {110, 92, shot, true},        {110, 91, shot, false},
        {110, 116, shot, true},      {110, 117, shot, false},      {90, 104, wide.get(), false},
        {80, 104, wide.get(), true}, {108, 90, tall.get(), false}, {108, 76, tall.get(), true}};
    for (const Case& c : cases) {
        const Sprite sprite{c.x, c.y, 1, 0, 0, c.image};
        EXPECT_EQ(ShotOverlaps(sprite, target), c.hit) << "shot at " << c.x << "," << c.y;
    }
}

// Player 1's effects use the shot's slot, player 2's the slots after maxshots; one shot
// on a shield and two sheep at once explodes and kills both in the same pass.
TEST(ResolveHits, ShotsExplodeOnEnemyPiecesAndKillEverySheepTheyTouch) {
    Field field;
    const Sprite& cannon = field.Piece(kCannon2);
    field.PlaceShot(0, 1, cannon.x + 10, cannon.y + 5);
    const Sprite& shield = field.Piece(kShield1);
    Sprite& first = field.PlaceSheep(0, 0, shield.x + 5, shield.y - 4);
    Sprite& second = field.PlaceSheep(0, 2, shield.x + 8, shield.y);
    Sprite& shot = field.PlaceShot(1, 1, shield.x + 10, shield.y + 2);
    ResolveHits(&field.match);
    EXPECT_EQ(field.ShotsInFlight(0), "0000000000");
    EXPECT_EQ(field.ShotsInFlight(1), "0000000000");
    EXPECT_EQ(cannon.state, 1);
    EXPECT_EQ(first.state, 0);
    EXPECT_EQ(second.state, 0);
    // Centred on the shot's width both ways; a strip frame is 100 / 5 wide.
    const Sprite& explosion = field.match.explosions[1];
    EXPECT_EQ(explosion.state, 20);
    EXPECT_EQ(explosion.x, cannon.x + 10 + kShotW / 2 - 10);
    EXPECT_EQ(explosion.y, cannon.y + 5 + kShotW / 2 - 10);
    EXPECT_EQ(field.match.explosions[3 + 1].state, 20);
    EXPECT_EQ(field.match.explosions[3 + 1].x, shot.x + kShotW / 2 - 10);
    EXPECT_EQ(field.match.blood[1].state, 0);
    EXPECT_EQ(field.match.blood[3 + 1].state, 300);
    EXPECT_EQ(field.match.blood[3 + 1].x, (shot.x + second.x) / 2);  // the last kill's
    EXPECT_EQ(field.match.blood[3 + 1].y, (shot.y + second.y) / 2);
    EXPECT_EQ(field.match.status.explosionSound, 1);
    EXPECT_EQ(field.match.status.sheepHitSound, 1);
}

TEST(ResolveHits, ShotsSpareTheirOwnSideAndSlotsBeyondTheLimits) {
    Field field;
    field.match.settings.sheepmax = 2;
    Sprite& own = field.PlaceSheep(0, 0, 300, 550);
    field.PlaceShot(0, 0, 305, 552);  // player 1's shot on its own sheep
    const Sprite& ownCannon = field.Piece(kCannon1);
    field.PlaceShot(0, 1, ownCannon.x, ownCannon.y);  // and on its own cannon
    Sprite& beyondHerd = field.PlaceSheep(1, 2, 500, 10);
    field.PlaceShot(0, 2, 505, 12);
    Sprite& enemy = field.PlaceSheep(1, 0, 600, 10);
    field.PlaceShot(0, 3, 605, 12);  // beyond maxshots
    ResolveHits(&field.match);
    EXPECT_EQ(own.state + beyondHerd.state + enemy.state, 3);
    EXPECT_EQ(field.ShotsInFlight(0), "1111000000");
    EXPECT_EQ(field.match.status.explosionSound + field.match.status.sheepHitSound, 0);
}

// Sheep beyond sheepmax are never counted; the palette restarts only when the phase
// changes; a decided match stays decided while the counts follow the herds.
TEST(UpdateOutcome, DecidesThePhaseFromTheCounts) {
    struct Case {
        int from, left0, left1, to;
    };
    const Case cases[] = {
        {Running, 2, 0, Player1Won},
        {Running, 0, 2, Player2Won},
        {Running, 0, 0, Draw},
        {Running, 1, 1, SuddenDeath},
        {Running, 2, 1, Running},
        {Running, 1, 2, Running},
        {SuddenDeath, 1, 1, SuddenDeath},
        {SuddenDeath, 0, 0, Draw},
        {SuddenDeath, 1, 0, Player1Won},
        {Player1Won, 0, 0, Player1Won},
        {Player2Won, 1, 1, Player2Won},
        {Draw, 2, 0, Draw},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Field field;
        field.match.settings.sheepmax = 4;
        field.match.status.phase = c.from;
        field.match.paletteStep = 9;
        for (int j = 0; j < c.left0; ++j) {
            field.PlaceSheep(0, j, 0, 550);
        }
        for (int j = 0; j < c.left1; ++j) {
            field.PlaceSheep(1, j, 0, 10);
        }
        field.PlaceSheep(0, 5, 0, 550);
        field.PlaceSheep(1, 4, 0, 10);
        UpdateOutcome(&field.match);
        EXPECT_EQ(field.match.status.phase, c.to);
        EXPECT_EQ(field.match.status.sheepLeft[0], c.left0);
        EXPECT_EQ(field.match.status.sheepLeft[1], c.left1);
        EXPECT_EQ(field.match.paletteStep, c.to == c.from ? 9 : 0);
    }
}

TEST(ClampPieceX, APieceWiderThanTheScreenEndsAtTheLeftEdge) {
    SurfacePtr huge = MakeSurface(900, 4);
    Sprite wide{10, 0, 1, 0, 0, huge.get()};
    ClampPieceX(&wide, kScreen);
    EXPECT_EQ(wide.x, 0);
}

}  // namespace
