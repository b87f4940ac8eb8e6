// The two network messages: input values and their bytes, their effect on the server,
// and the state text with its mirroring on the client.
#include "net/wire.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "test_support.h"

namespace {

constexpr ScreenSize kScreen{800, 600};

// Sizes in the order cannon1, shield1, cannon2, shield2, sheep, shot, blood, explosion;
// each unlike the server's, so a position mirrored by the wrong picture shows.
constexpr TestThemeSizes kClientSizes{
    {50, 30}, {90, 8},  {70, 35}, {100, 9}, {{36, 28}, {44, 26}, {38, 24}, {42, 22}},
    {8, 16},  {24, 18}, {180, 50}};

// The remote player moves by speedslow and speedfast; the local player's speeds are set
// apart from them so a mix-up shows.
GameSettings RemoteSettings() {
    GameSettings settings = MatchTestSettings();
    settings.speednormal = 50;
    settings.speedshift = 60;
    return settings;
}

std::string Field(const char* message, int offset, int length) {
    return std::string(message + offset, length);
}

std::tuple<int, int, int> Place(const Sprite& sprite) {
    return {sprite.x, sprite.y, sprite.state};
}

// Held keys: < Left, > Right, f Space, c left Ctrl, C right Ctrl, s left Shift,
// S right Shift. shiftslow 1 means the left Shift alone, 0 means no Shift at all.
TEST(InputValue, MoveCodeFromArrowsCtrlAndShiftPlusTenForFire) {
    const struct {
        const char* keys;
        int shiftslow, expected;
    } cases[] = {{"", 1, 0},   {"<", 1, 1},    {"<s", 1, 2}, {">", 1, 3},   {">s", 1, 4},
                 {"<c", 1, 5}, {"<Cs", 1, 6},  {">c", 1, 7}, {">cs", 1, 8}, {"<>", 1, 3},
                 {"f", 1, 10}, {">sf", 1, 14}, {"c", 1, 0},  {"<S", 1, 1},  {"<sS", 1, 1},
                 {"<", 0, 2},  {"<S", 0, 1},   {">s", 0, 3}};
    for (const auto& c : cases) {
        const std::string held = c.keys;
        auto has = [&](char k) { return held.find(k) != std::string::npos; };
        FakeKeys keys;
        keys.held[SDLK_LEFT] = has('<');
        keys.held[SDLK_RIGHT] = has('>');
        keys.held[SDLK_SPACE] = has('f');
        keys.mods =
            static_cast<SDLMod>((has('c') ? KMOD_LCTRL : 0) | (has('C') ? KMOD_RCTRL : 0) |
                                (has('s') ? KMOD_LSHIFT : 0) | (has('S') ? KMOD_RSHIFT : 0));
        EXPECT_EQ(InputValueFor(keys.Snapshot(), c.shiftslow), c.expected)
            << "\"" << held << "\" shiftslow " << c.shiftslow;
    }
}

TEST(InputMessage, LittleEndianBytesWhateverTheHost) {
    Uint8 bytes[kInputMessageSize];
    EncodeInputMessage(0x01020304, bytes);
    EXPECT_EQ(0, memcmp(bytes, "\x04\x03\x02\x01", 4));
    EXPECT_EQ(DecodeInputMessage(bytes), 0x01020304);
    EncodeInputMessage(-2, bytes);
    EXPECT_EQ(0, memcmp(bytes, "\xfe\xff\xff\xff", 4));
    EXPECT_EQ(DecodeInputMessage(bytes), -2);
}

// Player 2's cannon is unlike player 1's, so the shot's start shows which one it used.
TestThemeSizes ServerSizes() {
    TestThemeSizes sizes;
    sizes.cannon2 = {60, 45};
    return sizes;
}

class RemoteInput : public ::testing::Test {
   protected:
    void SetUp() override { PutPieces(300, 300); }
    void TearDown() override { gPreviousRemoteFire = 0; }
    void PutPieces(int cannonX, int shieldX) {
        gPreviousRemoteFire = 0;
        m.pieces[kCannon2].x = cannonX;
        m.pieces[kShield2].x = shieldX;
    }
    void Apply(int value) { ApplyRemoteInput(&m, kScreen, value); }
    int ActiveShots() const {
        int n = 0;
        for (const Sprite& shot : m.shots[1]) {
            n += shot.state != 0;
        }
        return n;
    }

    TestMatch server{RemoteSettings(), ServerSizes()};
    MatchState& m = server.match;
};

TEST_F(RemoteInput, EachCodeMovesItsPieceAndBothAreClampedOnEveryMessage) {
    const struct {
        int cannon, shield, code, cannonAfter, shieldAfter;
    } cases[] = {{300, 300, 0, 300, 300}, {300, 300, 1, 312, 300},  {300, 300, 2, 306, 300},
                 {300, 300, 3, 288, 300}, {300, 300, 4, 294, 300},  {300, 300, 5, 300, 312},
                 {300, 300, 6, 300, 306}, {300, 300, 7, 300, 288},  {300, 300, 8, 300, 294},
                 {300, 300, 9, 300, 300}, {300, 300, -3, 300, 300}, {795, 300, 1, 740, 300},
                 {5, 300, 3, 0, 300},     {300, 735, 6, 300, 740},  {-40, 900, 0, 0, 740}};
    for (const auto& c : cases) {
        PutPieces(c.cannon, c.shield);
        Apply(c.code);
        EXPECT_EQ(m.pieces[kCannon2].x, c.cannonAfter) << c.cannon << " code " << c.code;
        EXPECT_EQ(m.pieces[kShield2].x, c.shieldAfter) << c.shield << " code " << c.code;
        EXPECT_EQ(ActiveShots(), 0) << "code " << c.code;
    }
}

TEST_F(RemoteInput, FireStartsOneShotBelowPlayerTwosCannonPerPressUpToMaxshots) {
    Apply(10);
    ASSERT_EQ(ActiveShots(), 1);
    EXPECT_EQ(Place(m.shots[1][0]), std::tuple(300 + 30 - 2, m.pieces[kCannon2].y + 45, 1));
    EXPECT_EQ(m.status.shotSound, 1);
    Apply(10);
    Apply(10);
    EXPECT_EQ(ActiveShots(), 1) << "space still held";

    Apply(0);
    Apply(14);
    EXPECT_EQ(m.pieces[kCannon2].x, 294);
    ASSERT_EQ(ActiveShots(), 2);
    EXPECT_EQ(m.shots[1][1].x, 294 + 30 - 2) << "fired after the move";
    for (int press = 0; press < 3; ++press) {
        Apply(0);
        Apply(10);
    }
    EXPECT_EQ(ActiveShots(), 3);
}

TEST_F(RemoteInput, SuddenDeathLocksTheShieldButNotCannonClampOrFire) {
    m.status.phase = SuddenDeath;
    for (int code : {5, 6, 7, 8, 15}) {
        Apply(code);
        EXPECT_EQ(m.pieces[kShield2].x, 300) << "code " << code;
    }
    EXPECT_EQ(ActiveShots(), 1) << "code 15 still fired";
    Apply(1);
    EXPECT_EQ(m.pieces[kCannon2].x, 312);
    m.pieces[kShield2].x = 780;
    Apply(7);
    EXPECT_EQ(m.pieces[kShield2].x, 740);
}

TEST(StateEncoding, FieldsSitAtTheirOffsetsClampedToThreeCharacters) {
    TestMatch server;
    MatchState& m = server.match;
    m.pieces[0].x = 5;
    m.pieces[1].x = 42;
    m.pieces[2].x = 375;
    m.pieces[3].x = -1000;
    m.herds[1][3] = Sprite{120, 48, 1, -1, 2, m.herds[1][3].image};
    m.herds[0][19] = Sprite{7, 570, 4, 1, 1, m.herds[0][19].image};
    m.herds[0][0].state = 0;
    m.shots[0][0] = Sprite{5000, -150, 1, 0, 0, m.shots[0][0].image};
    m.shots[0][9] = Sprite{1, 2, 0, 0, 0, m.shots[0][9].image};
    m.shots[1][2] = Sprite{33, -5, 1, 0, 0, m.shots[1][2].image};
    m.explosions[17] = Sprite{610, 99, 20, 0, 0, m.explosions[17].image};
    m.explosions[18] = Sprite{610, 99, 19, 0, 0, m.explosions[18].image};
    m.blood[39] = Sprite{8, 9, 300, 0, 0, m.blood[39].image};
    m.blood[38] = Sprite{8, 9, 299, 0, 0, m.blood[38].image};
    m.status.sheepHitSound = 1;
    m.status.shotSound = 3;  // any non-zero flag counts once
    char message[kStateMessageSize];
    EncodeStateMessage(m, message);

    EXPECT_EQ(Field(message, 0, 12), "005042375-99");
    EXPECT_EQ(message[12 + 6], '0') << "inactive sheep";
    EXPECT_EQ(Field(message, 12 + 7 * 19, 7), "0075701") << "walking right";
    EXPECT_EQ(Field(message, 12 + 7 * (20 + 3), 7), "1200482") << "walking left";
    EXPECT_EQ(Field(message, 292, 7), "999-991");
    EXPECT_EQ(Field(message, 292 + 7 * 9, 7), "0010020");
    EXPECT_EQ(Field(message, 292 + 7 * (10 + 2), 7), "0330-51");
    EXPECT_EQ(Field(message, 432 + 7 * 17, 7), "6100991") << "started this frame";
    EXPECT_EQ(Field(message, 432 + 7 * 18, 7), "6100990") << "already counting down";
    EXPECT_EQ(Field(message, 572 + 7 * 38, 7), "0080090");
    EXPECT_EQ(Field(message, 572 + 7 * 39, 7), "0080091");
    EXPECT_EQ(Field(message, 852, 2), "6x");
    EXPECT_EQ(strnlen(message, kStateMessageSize), 854u);
    EXPECT_EQ(std::string(message + 854, kStateMessageSize - 854), std::string(646, '\0'));

    m.settings.bloodtime = 0;  // an inactive effect is never marked, even with lifetime 0
    m.blood[39].state = 0;
    EncodeStateMessage(m, message);
    EXPECT_EQ(Field(message, 572 + 7 * 39, 7), "0080090");
}

class StateDecoding : public ::testing::Test {
   protected:
    void SetUp() override {
        memset(message, 0, sizeof message);
        memset(message, '0', kStateTextLength - 1);
        message[kStateTextLength - 1] = 'x';
    }
    static GameSettings ClientSettings() {
        GameSettings settings = MatchTestSettings();
        settings.explotime = 33;
        settings.bloodtime = 77;
        settings.exploanim = 3;  // frames 180 / 3 = 60 wide
        return settings;
    }
    void Put(int offset, const char* text) { memcpy(message + offset, text, strlen(text)); }
    std::string Decode() {
        StderrCapture capture;
        DecodeStateMessage(message, &m, kScreen);
        return capture.Text();
    }

    TestMatch client{ClientSettings(), kClientSizes};
    MatchState& m = client.match;
    char message[kStateMessageSize];
};

TEST_F(StateDecoding, PlayersAreExchangedAndMirroredByTheClientsOwnPictures) {
    Sprite& mine = m.herds[1][3];  // the server's herd 0 is this side's top herd
    Sprite& other = m.herds[0][5];
    Sprite& gone = m.herds[0][6];
    mine.direction = 1;
    other.direction = -1;
    gone.direction = -1;
    m.explosions[4].state = m.explosions[5].state = 12;
    m.blood[30].state = m.blood[31].state = 40;
    Put(0, "005042375700");
    Put(12 + 7 * 3, "1200482");
    Put(12 + 7 * (20 + 5), "3005501");
    Put(12 + 7 * (20 + 6), "1001000");
    Put(292 + 7 * 2, "0330-51");         // the server's player 1, slot 2
    Put(292 + 7 * (10 + 9), "1234561");  // the server's player 2, slot 9
    Put(432 + 7 * 4, "6100991");
    Put(432 + 7 * 5, "6100990");
    Put(572 + 7 * 30, "0080091");
    Put(572 + 7 * 31, "0080090");
    EXPECT_EQ(Decode(), "");

    EXPECT_EQ(m.pieces[kCannon2].x, 800 - 70 - 5);
    EXPECT_EQ(m.pieces[kShield2].x, 800 - 100 - 42);
    EXPECT_EQ(m.pieces[kCannon1].x, 800 - 50 - 375);
    EXPECT_EQ(m.pieces[kShield1].x, 800 - 90 - 700);

    EXPECT_EQ(Place(mine), std::tuple(800 - mine.image->w - 120, 600 - mine.image->h - 48, 1));
    EXPECT_EQ(mine.direction, -1);
    EXPECT_EQ(Place(other), std::tuple(800 - other.image->w - 300, 600 - other.image->h - 550, 1));
    EXPECT_EQ(other.direction, 1);
    EXPECT_EQ(std::pair(gone.state, gone.direction), std::pair(0, -1)) << "keeps its direction";

    EXPECT_EQ(Place(m.shots[1][2]), std::tuple(800 - 8 - 33, 600 - 16 - 0, 1)) << "0-5 reads 0";
    EXPECT_EQ(Place(m.shots[0][9]), std::tuple(800 - 8 - 123, 600 - 16 - 456, 1));
    EXPECT_EQ(Place(m.shots[0][2]), std::tuple(800 - 8, 600 - 16, 0)) << "inactive, mirrored";

    // An effect starts from the client's own lifetime on a marker, and is counted down
    // by the client itself; an explosion is one animation frame wide.
    EXPECT_EQ(Place(m.explosions[4]), std::tuple(800 - 60 - 610, 600 - 50 - 99, 33));
    EXPECT_EQ(m.explosions[5].state, 12);
    EXPECT_EQ(Place(m.blood[30]), std::tuple(800 - 24 - 8, 600 - 18 - 9, 77));
    EXPECT_EQ(m.blood[31].state, 40);
}

// Each case: the digit and the sheep-hit, shot and explosion flags it sets; the lines.
TEST_F(StateDecoding, SoundDigitSetsTheFlagsAndWritesItsDiagnostics) {
    const char* const cases[][2] = {{"0000", ""},
                                    {"1001", "x 1  1\n"},
                                    {"2010", "x 2  2\n"},
                                    {"4100", "x 4  4\nsheep 1  0\n"},
                                    {"6110", "x 6  6\nsheep 1  2\n"},
                                    {"7111", "x 7  7\nsheep 1  3\n"}};
    for (const auto& [digitAndFlags, lines] : cases) {
        message[852] = digitAndFlags[0];
        EXPECT_EQ(Decode(), lines) << digitAndFlags;
        const MatchStatus& st = m.status;
        EXPECT_EQ(std::to_string(st.sheepHitSound) + std::to_string(st.shotSound) +
                      std::to_string(st.explosionSound),
                  digitAndFlags + 1);
    }
}

}  // namespace
