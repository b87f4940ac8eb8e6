// The two network messages: input values, their bytes, their effect on the server,
// and the state text with its mirroring on the client.
#include "net/wire.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "test_support.h"

namespace {

constexpr ScreenSize kScreen{800, 600};

GameSettings NetSettings() {
    GameSettings settings{};
    settings.speedslow = 4;
    settings.speedfast = 9;
    settings.shiftslow = 1;
    // Deliberately unlike the two remote speeds: the remote player never uses these.
    settings.speednormal = 50;
    settings.speedshift = 60;
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

struct PictureSizes {
    int cannon1w, cannon1h, cannon2w, cannon2h;
    int shield1w, shield1h, shield2w, shield2h;
    int sheepw[4], sheeph[4];
    int shotw, shoth, bloodw, bloodh, explosionw, explosionh;
};

constexpr PictureSizes kServerPictures{
    60, 40, 60, 45, 80, 10, 80, 12, {40, 40, 40, 40}, {30, 30, 30, 30}, 6, 12, 30, 20, 200, 40};
constexpr PictureSizes kClientPictures{
    50, 30, 70, 35, 90, 8, 100, 9, {36, 44, 38, 42}, {28, 26, 24, 22}, 8, 16, 24, 18, 180, 50};

// One machine's pictures, tables and dealt match.
struct Machine {
    SurfacePtr owned[13];
    ThemeAssets assets{};
    MatchTables tables{};
    MatchState match{};

    Machine(const PictureSizes& p, const GameSettings& settings) {
        int n = 0;
        auto make = [&](int w, int h) {
            owned[n] = MakeSurface(w, h);
            return owned[n++].get();
        };
        assets.cannon1 = make(p.cannon1w, p.cannon1h);
        assets.cannon2 = make(p.cannon2w, p.cannon2h);
        assets.shield1 = make(p.shield1w, p.shield1h);
        assets.shield2 = make(p.shield2w, p.shield2h);
        for (int i = 0; i < 4; ++i) {
            assets.sheeppictures[i] = make(p.sheepw[i], p.sheeph[i]);
        }
        assets.shot = make(p.shotw, p.shoth);
        assets.blood = make(p.bloodw, p.bloodh);
        assets.explosion = make(p.explosionw, p.explosionh);
        match = MakeMatchState(&tables, settings, MatchStatus{});
        SetupMatch(&match, kScreen, &assets, 0);
    }
};

std::string Text(const char* message, int offset, int length) {
    return std::string(message + offset, length);
}

// --- InputMessage ---------------------------------------------------------------------

struct KeyCase {
    const char* name;
    bool left, right, space;
    int mods;
    int shiftslow;
    int expected;
};

TEST(InputValue, EveryMoveCodeWithAndWithoutCtrlShiftAndFire) {
    const KeyCase cases[] = {
        {"nothing", false, false, false, KMOD_NONE, 1, 0},
        {"left, no shift, shiftslow 1", true, false, false, KMOD_NONE, 1, 1},
        {"left, left shift, shiftslow 1", true, false, false, KMOD_LSHIFT, 1, 2},
        {"right, no shift", false, true, false, KMOD_NONE, 1, 3},
        {"right, left shift", false, true, false, KMOD_LSHIFT, 1, 4},
        {"ctrl left", true, false, false, KMOD_LCTRL, 1, 5},
        {"right ctrl left, left shift", true, false, false, KMOD_RCTRL | KMOD_LSHIFT, 1, 6},
        {"ctrl right", false, true, false, KMOD_LCTRL, 1, 7},
        {"ctrl right, left shift", false, true, false, KMOD_LCTRL | KMOD_LSHIFT, 1, 8},
        {"both arrows: right wins", true, true, false, KMOD_NONE, 1, 3},
        {"both arrows with ctrl", true, true, false, KMOD_LCTRL, 1, 7},
        {"space only", false, false, true, KMOD_NONE, 1, 10},
        {"right slow with fire", false, true, true, KMOD_LSHIFT, 1, 14},
        {"ctrl with no arrow moves nothing", false, false, false, KMOD_LCTRL, 1, 0},
        // Only the left Shift alone matches shiftslow 1.
        {"right shift, shiftslow 1", true, false, false, KMOD_RSHIFT, 1, 1},
        {"both shifts, shiftslow 1", true, false, false, KMOD_LSHIFT | KMOD_RSHIFT, 1, 1},
        // With shiftslow 0 it is holding no Shift that sets the slow bit.
        {"no shift, shiftslow 0", true, false, false, KMOD_NONE, 0, 2},
        {"right shift, shiftslow 0", true, false, false, KMOD_RSHIFT, 0, 1},
        {"left shift, shiftslow 0", false, true, false, KMOD_LSHIFT, 0, 3},
    };
    for (const KeyCase& c : cases) {
        FakeKeys keys;
        keys.held[SDLK_LEFT] = c.left;
        keys.held[SDLK_RIGHT] = c.right;
        keys.held[SDLK_SPACE] = c.space;
        keys.mods = static_cast<SDLMod>(c.mods);
        EXPECT_EQ(InputValueFor(keys.Snapshot(), c.shiftslow), c.expected) << c.name;
    }
}

TEST(InputMessage, LittleEndianBytesWhateverTheHost) {
    Uint8 bytes[kInputMessageSize];
    EncodeInputMessage(14, bytes);
    EXPECT_EQ(0, memcmp(bytes, "\x0e\x00\x00\x00", 4));
    EncodeInputMessage(0x01020304, bytes);
    EXPECT_EQ(0, memcmp(bytes, "\x04\x03\x02\x01", 4));
    EncodeInputMessage(-2, bytes);
    EXPECT_EQ(0, memcmp(bytes, "\xfe\xff\xff\xff", 4));
    EXPECT_EQ(DecodeInputMessage(bytes), -2);
    const Uint8 high[4] = {0x00, 0x00, 0x00, 0x80};
    EXPECT_EQ(DecodeInputMessage(high), static_cast<int>(0x80000000u));
    const Uint8 code18[4] = {18, 0, 0, 0};
    EXPECT_EQ(DecodeInputMessage(code18), 18);
}

// --- Applying remote input on the server ----------------------------------------------

class RemoteInput : public ::testing::Test {
   protected:
    void SetUp() override {
        gPreviousRemoteFire = 0;
        server.match.pieces[kCannon2].x = 300;
        server.match.pieces[kShield2].x = 300;
    }
    void TearDown() override { gPreviousRemoteFire = 0; }
    int CannonX() const { return server.match.pieces[kCannon2].x; }
    int ShieldX() const { return server.match.pieces[kShield2].x; }
    int ActiveShots() const {
        int n = 0;
        for (int i = 0; i < kShotSlots; ++i) {
            n += server.match.shots[1][i].state != 0;
        }
        return n;
    }

    Machine server{kServerPictures, NetSettings()};
};

TEST_F(RemoteInput, EachCodeMovesWithTheServersOwnSlowAndFastSteps) {
    struct {
        int code, cannon, shield;
    } const cases[] = {
        {0, 300, 300},
        {1, 309, 300},
        {2, 304, 300},
        {3, 291, 300},
        {4, 296, 300},
        {5, 300, 309},
        {6, 300, 304},
        {7, 300, 291},
        {8, 300, 296},
        // Values outside the table move nothing.
        {9, 300, 300},
        {-3, 300, 300},
    };
    for (const auto& c : cases) {
        SetUp();
        ApplyRemoteInput(&server.match, kScreen, c.code);
        EXPECT_EQ(CannonX(), c.cannon) << "code " << c.code;
        EXPECT_EQ(ShieldX(), c.shield) << "code " << c.code;
        EXPECT_EQ(ActiveShots(), 0) << "code " << c.code;
    }
}

TEST_F(RemoteInput, PiecesAreClampedToTheScreenOnEveryMessage) {
    server.match.pieces[kCannon2].x = 795;
    ApplyRemoteInput(&server.match, kScreen, 1);
    EXPECT_EQ(CannonX(), 800 - 60);
    server.match.pieces[kCannon2].x = 5;
    ApplyRemoteInput(&server.match, kScreen, 3);
    EXPECT_EQ(CannonX(), 0);
    server.match.pieces[kShield2].x = 725;
    ApplyRemoteInput(&server.match, kScreen, 6);
    EXPECT_EQ(ShieldX(), 800 - 80);
    // A piece already off the screen comes back even when the message moves nothing.
    server.match.pieces[kCannon2].x = -40;
    server.match.pieces[kShield2].x = 900;
    ApplyRemoteInput(&server.match, kScreen, 0);
    EXPECT_EQ(CannonX(), 0);
    EXPECT_EQ(ShieldX(), 720);
}

TEST_F(RemoteInput, FireStartsOneShotBelowPlayerTwosCannonPerPress) {
    const Sprite& cannon = server.match.pieces[kCannon2];
    ApplyRemoteInput(&server.match, kScreen, 10);
    ASSERT_EQ(ActiveShots(), 1);
    const Sprite& shot = server.match.shots[1][0];
    EXPECT_EQ(shot.x, 300 + 60 / 2 - 6 / 2);
    EXPECT_EQ(shot.y, cannon.y + 45);
    EXPECT_EQ(server.match.status.shotSound, 1);
    EXPECT_EQ(server.match.shots[0][0].state, 0) << "player 1's row stays empty";

    // Space still held: no further shot.
    for (int i = 0; i < 5; ++i) {
        ApplyRemoteInput(&server.match, kScreen, 10);
    }
    EXPECT_EQ(ActiveShots(), 1);
    EXPECT_EQ(gPreviousRemoteFire, 1);

    // Released for one message, then pressed again with a slow move to the right.
    ApplyRemoteInput(&server.match, kScreen, 0);
    EXPECT_EQ(gPreviousRemoteFire, 0);
    ApplyRemoteInput(&server.match, kScreen, 14);
    EXPECT_EQ(CannonX(), 296);
    ASSERT_EQ(ActiveShots(), 2);
    EXPECT_EQ(server.match.shots[1][1].x, 296 + 30 - 3) << "fired after the move";
}

TEST_F(RemoteInput, NoMoreShotsThanMaxshotsInFlight) {
    for (int press = 0; press < 5; ++press) {
        ApplyRemoteInput(&server.match, kScreen, 10);
        ApplyRemoteInput(&server.match, kScreen, 0);
    }
    EXPECT_EQ(ActiveShots(), 3);
}

TEST_F(RemoteInput, SuddenDeathLocksTheShieldButNotCannonClampOrFire) {
    server.match.status.phase = SuddenDeath;
    for (int code : {5, 6, 7, 8, 15}) {
        ApplyRemoteInput(&server.match, kScreen, code);
        EXPECT_EQ(ShieldX(), 300) << "code " << code;
    }
    EXPECT_EQ(ActiveShots(), 1) << "code 15 still fired";
    ApplyRemoteInput(&server.match, kScreen, 1);
    EXPECT_EQ(CannonX(), 309);
    server.match.pieces[kShield2].x = 780;
    ApplyRemoteInput(&server.match, kScreen, 7);
    EXPECT_EQ(ShieldX(), 720) << "the clamp still applies";
}

// --- Number fields ---------------------------------------------------------------------

TEST(PadNumber, OneAndTwoCharactersGetLeadingZeros) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"7", "007"},  {"42", "042"},    {"600", "600"}, {"-15", "-15"},
                 {"-5", "0-5"}, {"1234", "1234"}, {"", ""}};
    for (const auto& c : cases) {
        char text[8] = {};
        memcpy(text, c.in, strlen(c.in));
        PadNumber(text);
        EXPECT_STREQ(text, c.out) << "from \"" << c.in << "\"";
    }
}

// --- StateMessage: encoding -----------------------------------------------------------

class StateEncoding : public ::testing::Test {
   protected:
    void SetUp() override { Encode(); }
    void Encode() { EncodeStateMessage(server.match, message); }

    Machine server{kServerPictures, NetSettings()};
    char message[kStateMessageSize];
};

TEST_F(StateEncoding, TextOf854CharactersThenZerosTo1500) {
    EXPECT_EQ(strnlen(message, kStateMessageSize), 854u);
    EXPECT_EQ(message[853], 'x');
    for (int i = 854; i < kStateMessageSize; ++i) {
        ASSERT_EQ(message[i], '\0') << "at " << i;
    }
}

TEST_F(StateEncoding, FieldsSitAtTheirOffsets) {
    MatchState& m = server.match;
    m.pieces[0].x = 5;
    m.pieces[1].x = 42;
    m.pieces[2].x = 375;
    m.pieces[3].x = 700;
    m.herds[1][3] = Sprite{120, 48, 1, -1, 2, m.herds[1][3].image};
    m.herds[0][19] = Sprite{7, 570, 4, 1, 1, m.herds[0][19].image};
    m.herds[0][0].state = 0;
    m.shots[1][2] = Sprite{33, -5, 1, 0, 0, m.shots[1][2].image};
    m.shots[0][9] = Sprite{1, 2, 0, 0, 0, m.shots[0][9].image};
    m.explosions[17] = Sprite{610, 99, 20, 0, 0, m.explosions[17].image};
    m.explosions[18] = Sprite{610, 99, 19, 0, 0, m.explosions[18].image};
    m.blood[39] = Sprite{8, 9, 300, 0, 0, m.blood[39].image};
    m.blood[38] = Sprite{8, 9, 299, 0, 0, m.blood[38].image};
    m.status.sheepHitSound = 1;
    m.status.shotSound = 3;  // any non-zero flag counts once
    Encode();

    EXPECT_EQ(Text(message, 0, 12), "005042375700");
    EXPECT_EQ(Text(message, 12 + 7 * (20 * 1 + 3), 7), "1200482") << "walking left";
    EXPECT_EQ(Text(message, 12 + 7 * 19, 7), "0075701") << "walking right";
    EXPECT_EQ(message[12 + 6], '0') << "inactive sheep";
    EXPECT_EQ(Text(message, 292 + 7 * (10 * 1 + 2), 7), "0330-51");
    EXPECT_EQ(Text(message, 292 + 7 * 9, 7), "0010020");
    EXPECT_EQ(Text(message, 292 + 7 * 3, 7), "0000000") << "an untouched shot";
    EXPECT_EQ(Text(message, 432 + 7 * 17, 7), "6100991") << "started this frame";
    EXPECT_EQ(Text(message, 432 + 7 * 18, 7), "6100990") << "already counting down";
    EXPECT_EQ(Text(message, 572 + 7 * 39, 7), "0080091");
    EXPECT_EQ(Text(message, 572 + 7 * 38, 7), "0080090");
    EXPECT_EQ(Text(message, 852, 2), "6x");
}

TEST_F(StateEncoding, NumbersOutsideTheFieldAreClampedSoLaterFieldsStayInPlace) {
    MatchState& m = server.match;
    m.shots[0][0] = Sprite{5000, -150, 1, 0, 0, m.shots[0][0].image};
    m.pieces[3].x = -1000;
    Encode();
    EXPECT_EQ(Text(message, 9, 3), "-99");
    EXPECT_EQ(Text(message, 292, 7), "999-991");
    EXPECT_EQ(strnlen(message, kStateMessageSize), 854u);
    EXPECT_EQ(message[853], 'x');
}

TEST_F(StateEncoding, AnInactiveEffectIsNeverMarkedEvenWithLifetimeZero) {
    server.match.settings.bloodtime = 0;
    Encode();
    for (int i = 0; i < kBloodSlots; ++i) {
        EXPECT_EQ(message[572 + 7 * i + 6], '0') << "blood " << i;
    }
}

// --- StateMessage: decoding on the client ----------------------------------------------

class StateDecoding : public ::testing::Test {
   protected:
    void SetUp() override {
        GameSettings clientSettings = NetSettings();
        clientSettings.explotime = 33;
        clientSettings.bloodtime = 77;
        clientSettings.exploanim = 3;  // 180 / 3: frames 60 wide
        client = std::make_unique<Machine>(kClientPictures, clientSettings);
        memset(message, 0, sizeof message);
        memset(message, '0', 852);
        message[852] = '0';
        message[853] = 'x';
    }
    void Put(int offset, const char* text) { memcpy(message + offset, text, strlen(text)); }
    void Decode() {
        StderrCapture capture;
        DecodeStateMessage(message, &client->match, kScreen);
        diagnostics = capture.Text();
    }
    MatchState& m() { return client->match; }

    std::unique_ptr<Machine> client;
    char message[kStateMessageSize];
    std::string diagnostics;
};

TEST_F(StateDecoding, PiecesAreExchangedAndMirroredByTheClientsOwnPictures) {
    int cannon1y = m().pieces[kCannon1].y;
    Put(0, "005042375700");
    Decode();
    EXPECT_EQ(m().pieces[kCannon2].x, 800 - 70 - 5);
    EXPECT_EQ(m().pieces[kShield2].x, 800 - 100 - 42);
    EXPECT_EQ(m().pieces[kCannon1].x, 800 - 50 - 375);
    EXPECT_EQ(m().pieces[kShield1].x, 800 - 90 - 700);
    EXPECT_EQ(m().pieces[kCannon1].y, cannon1y) << "no y travels for pieces";
}

TEST_F(StateDecoding, HerdsAreExchangedKeepingTheClientsOwnColoursAndPictures) {
    Sprite& mine = m().herds[1][3];  // the server's herd 0 is this side's top herd
    mine.direction = 1;
    SDL_Surface* picture = mine.image;
    int colour = mine.colour;
    Put(12 + 7 * 3, "1200482");
    Sprite& other = m().herds[0][5];
    other.direction = 1;
    Put(12 + 7 * (20 + 5), "3005501");
    Sprite& gone = m().herds[0][6];
    gone.direction = -1;
    Put(12 + 7 * (20 + 6), "1001000");
    Decode();

    EXPECT_EQ(mine.x, 800 - picture->w - 120);
    EXPECT_EQ(mine.y, 600 - picture->h - 48);
    EXPECT_EQ(mine.state, 1);
    EXPECT_EQ(mine.direction, -1);
    EXPECT_EQ(mine.image, picture);
    EXPECT_EQ(mine.colour, colour);
    EXPECT_EQ(other.x, 800 - other.image->w - 300);
    EXPECT_EQ(other.y, 600 - other.image->h - 550);
    EXPECT_EQ(other.direction, 1);
    EXPECT_EQ(gone.state, 0);
    EXPECT_EQ(gone.direction, -1) << "an inactive sheep keeps its direction";
}

TEST_F(StateDecoding, ShotsAreExchangedAndTheNegativeFieldReadsAsZero) {
    Put(292 + 7 * 2, "0330-51");         // the server's player 1, slot 2
    Put(292 + 7 * (10 + 9), "1234561");  // the server's player 2, slot 9
    Decode();
    const Sprite& mine = m().shots[1][2];
    EXPECT_EQ(mine.x, 800 - 8 - 33);
    EXPECT_EQ(mine.y, 600 - 16 - 0) << "0-5 reads as 0";
    EXPECT_EQ(mine.state, 1);
    const Sprite& theirs = m().shots[0][9];
    EXPECT_EQ(theirs.x, 800 - 8 - 123);
    EXPECT_EQ(theirs.y, 600 - 16 - 456);
    EXPECT_EQ(theirs.state, 1);
    EXPECT_EQ(m().shots[0][2].state, 0);
    EXPECT_EQ(m().shots[0][2].x, 800 - 8) << "inactive slots are mirrored too";
}

TEST_F(StateDecoding, EffectsStartFromTheClientsOwnLifetimesOnlyOnAMarker) {
    m().explosions[4].state = 12;
    m().explosions[5].state = 12;
    m().blood[30].state = 40;
    m().blood[31].state = 40;
    Put(432 + 7 * 4, "6100991");
    Put(432 + 7 * 5, "6100990");
    Put(572 + 7 * 30, "0080091");
    Put(572 + 7 * 31, "0080090");
    Decode();
    EXPECT_EQ(m().explosions[4].state, 33);
    EXPECT_EQ(m().explosions[5].state, 12) << "the client counts down itself";
    EXPECT_EQ(m().blood[30].state, 77);
    EXPECT_EQ(m().blood[31].state, 40);
    // An explosion is mirrored by one animation frame's width and the picture's height.
    EXPECT_EQ(m().explosions[4].x, 800 - 60 - 610);
    EXPECT_EQ(m().explosions[4].y, 600 - 50 - 99);
    EXPECT_EQ(m().blood[30].x, 800 - 24 - 8);
    EXPECT_EQ(m().blood[30].y, 600 - 18 - 9);
}

TEST_F(StateDecoding, SoundDigitSetsTheFlagsAndWritesItsDiagnostics) {
    const struct {
        char digit;
        int sheep, shot, explosion;
        const char* lines;
    } cases[] = {
        {'0', 0, 0, 0, ""},
        {'1', 0, 0, 1, "x 1  1\n"},
        {'2', 0, 1, 0, "x 2  2\n"},
        {'4', 1, 0, 0, "x 4  4\nsheep 1  0\n"},
        {'6', 1, 1, 0, "x 6  6\nsheep 1  2\n"},
        {'7', 1, 1, 1, "x 7  7\nsheep 1  3\n"},
    };
    for (const auto& c : cases) {
        message[852] = c.digit;
        Decode();
        EXPECT_EQ(m().status.sheepHitSound, c.sheep) << c.digit;
        EXPECT_EQ(m().status.shotSound, c.shot) << c.digit;
        EXPECT_EQ(m().status.explosionSound, c.explosion) << c.digit;
        EXPECT_EQ(diagnostics, c.lines) << c.digit;
    }
}

// --- Round trip -----------------------------------------------------------------------

TEST(StateRoundTrip, MirroringTwiceGivesTheServersMatchBack) {
    GameSettings settings = NetSettings();
    settings.sheepcolor2 = 0;  // a mixed herd
    Machine server(kServerPictures, settings);
    Machine client(kServerPictures, settings);
    Machine back(kServerPictures, settings);
    MatchState& s = server.match;
    s.herds[0][4].state = 0;
    s.herds[1][7].state = 5;
    s.shots[0][1] = Sprite{397, 300, 1, 0, 0, s.shots[0][1].image};
    s.shots[1][0] = Sprite{411, 220, 1, 0, 0, s.shots[1][0].image};
    s.explosions[2] = Sprite{380, 180, settings.explotime, 0, 0, s.explosions[2].image};
    s.blood[13] = Sprite{150, 560, settings.bloodtime, 0, 0, s.blood[13].image};
    s.status.shotSound = 1;

    char first[kStateMessageSize];
    char second[kStateMessageSize];
    EncodeStateMessage(s, first);
    {
        StderrCapture quiet;
        DecodeStateMessage(first, &client.match, kScreen);
        EncodeStateMessage(client.match, second);
        DecodeStateMessage(second, &back.match, kScreen);
    }
    const MatchState& b = back.match;
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(b.pieces[k].x, s.pieces[k].x) << "piece " << k;
    }
    for (int h = 0; h < 2; ++h) {
        for (int i = 0; i < kHerdSize; ++i) {
            const Sprite& want = s.herds[h][i];
            const Sprite& got = b.herds[h][i];
            EXPECT_EQ(got.x, want.x) << h << "/" << i;
            EXPECT_EQ(got.y, want.y) << h << "/" << i;
            EXPECT_EQ(got.state != 0, want.state != 0) << h << "/" << i;
            if (want.state != 0) {
                EXPECT_EQ(got.direction, want.direction) << h << "/" << i;
            }
        }
    }
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < kShotSlots; ++i) {
            EXPECT_EQ(b.shots[row][i].x, s.shots[row][i].x) << row << "/" << i;
            EXPECT_EQ(b.shots[row][i].y, s.shots[row][i].y) << row << "/" << i;
            EXPECT_EQ(b.shots[row][i].state, s.shots[row][i].state) << row << "/" << i;
        }
    }
    EXPECT_EQ(b.explosions[2].x, 380);
    EXPECT_EQ(b.explosions[2].y, 180);
    EXPECT_EQ(b.explosions[2].state, settings.explotime);
    EXPECT_EQ(b.blood[13].x, 150);
    EXPECT_EQ(b.blood[13].y, 560);
    EXPECT_EQ(b.blood[13].state, settings.bloodtime);
    EXPECT_EQ(b.status.shotSound, 1);
}

}  // namespace
