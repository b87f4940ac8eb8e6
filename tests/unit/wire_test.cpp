// The two network messages: input values and their bytes, their effect on the server,
// and the state text with its mirroring on the client.
#include "net/wire.h"

#include <cstring>

#include "test_support.h"

constexpr ScreenSize kScreen{800, 600};

// Each case: the held keys (< Left, > Right, f Space, c left Ctrl, C right Ctrl, s left
// Shift, S right Shift, 0 none), shiftslow (1: the left Shift alone is slow, 0: no Shift
// is) and the value sent. Right wins over Left.
TEST(InputMessage, MoveCodePlusTenForFireInFourLittleEndianBytes) {
    const char* const cases[] = {"0 1 0",   "< 1 1",  "<s 1 2",  "> 1 3",  ">s 1 4", "<c 1 5",
                                 "<Cs 1 6", ">c 1 7", ">cs 1 8", "<> 1 3", "f 1 10", ">sf 1 14",
                                 "c 1 0",   "<S 1 1", "<sS 1 1", "< 0 2",  "<S 0 1", ">s 0 3"};
    const int keys[] = {SDLK_LEFT,  SDLK_RIGHT,  SDLK_SPACE, KMOD_LCTRL,
                        KMOD_RCTRL, KMOD_LSHIFT, KMOD_RSHIFT};
    for (const char* c : cases) {
        char held[8];
        int shiftslow, value;
        sscanf(c, "%7s %d %d", held, &shiftslow, &value);
        FakeKeys input;
        for (const char* k = held; *k != '\0'; ++k) {
            const size_t i = std::string("<>fcCsS").find(*k);
            if (i < 3) {
                input.held[keys[i]] = 1;
            } else if (i != std::string::npos) {
                input.mods = SDLMod(input.mods | keys[i]);
            }
        }
        EXPECT_EQ(InputValueFor(input.Snapshot(), shiftslow), value) << c;
    }
    Uint8 bytes[kInputMessageSize];
    EncodeInputMessage(0x01020304, bytes);
    EXPECT_EQ(Numbers(bytes[0], bytes[1], bytes[2], bytes[3], DecodeInputMessage(bytes)),
              "4 3 2 1 16909060");
}

// The server's player 2, cannon 60 x 45 (unlike player 1's) at y 162 and shield 60 x 10,
// moves by speedslow and speedfast, never by the local speeds. The client sees the field
// turned half round, so its Left is +x here; both pieces are clamped on every message;
// Space held fires once, below the cannon after the move; in sudden death the shield
// stays put. After each message: cannon x, shield x, shots in flight.
TEST(RemoteInput, CodesMoveClampAndFireOnThePlayerTwoPieces) {
    TestMatch server{kMatchSettings, {{40, 30}, {60, 10}, {60, 45}}};
    MatchState& m = server.match;
    m.settings.speednormal = 50;
    m.settings.speedshift = 60;
    gPreviousRemoteFire = 0;
    std::string log;
    auto apply = [&](int cannonX, int shieldX, std::initializer_list<int> values) {
        m.pieces[kCannon2].x = cannonX;
        m.pieces[kShield2].x = shieldX;
        for (int value : values) {
            ApplyRemoteInput(&m, kScreen, value);
            int shots = 0;
            for (const Sprite& shot : m.shots[1]) {
                shots += shot.state;
            }
            log += Numbers(m.pieces[kCannon2].x, m.pieces[kShield2].x, shots) + "; ";
        }
        log += "\n";
    };
    apply(300, 300, {1, 2, 3, 4, 5, 6, 7, 8, 9, -3, 0});
    apply(300, 300, {10, 10, 0, 14});
    const std::string shots = Numbers(m.shots[1][0].x, m.shots[1][0].y, m.shots[1][1].x);
    apply(795, -40, {1});
    apply(5, 735, {3, 6});
    m.status.phase = SuddenDeath;
    apply(300, 300, {5, 15, 0, 10});
    EXPECT_EQ(log + shots,
              "312 300 0; 318 300 0; 306 300 0; 300 300 0; 300 312 0; 300 318 0; 300 306 0; "
              "300 300 0; 300 300 0; 300 300 0; 300 300 0; \n"
              "300 300 1; 300 300 1; 300 300 1; 294 300 2; \n740 0 2; \n0 735 2; 0 740 2; \n"
              "300 300 2; 300 300 3; 300 300 3; 300 300 3; \n328 207 322");
    gPreviousRemoteFire = 0;
}

// Fields are three characters clamped to -99..999; an entry is x, y and a status: for a
// sheep 0 dead, 1 facing right, 2 left; for an effect 1 in the frame that started it.
// The client mirrors every position by its own picture and exchanges the players; a
// marker starts its own countdown, without one its countdown goes on. Its pictures are
// unlike the server's: cannons 50 and 70 wide, shields 90 and 100, sheep 36 x 28, shots
// 8 x 16, blood 24 x 18, explosion frames 180 / 3 = 60 wide and 50 high.
TEST(StateMessage, EncodesAtFixedOffsetsAndDecodesMirroredWithPlayersExchanged) {
    TestMatch server;
    MatchState& s = server.match;
    std::tie(s.pieces[0].x, s.pieces[1].x, s.pieces[2].x, s.pieces[3].x) =
        std::tuple(5, 42, 375, -1000);
    s.herds[0][0] = {1, 560, 0, 1, 1, nullptr};
    s.herds[0][5] = {300, 550, 4, 1, 1, nullptr};
    s.herds[1][3] = {120, 48, 1, -1, 2, nullptr};
    s.shots[0][0] = {5000, -150, 1, 0, 0, nullptr};
    s.shots[1][2] = {33, -5, 3, 0, 0, nullptr};
    s.explosions[4] = {610, 99, 20, 0, 0, nullptr};
    s.explosions[5] = {610, 99, 19, 0, 0, nullptr};
    s.blood[30] = {8, 9, 300, 0, 0, nullptr};
    s.blood[31] = {8, 9, 299, 0, 0, nullptr};
    s.status.sheepHitSound = 1;
    s.status.shotSound = 3;  // any non-zero flag counts once
    char message[kStateMessageSize];
    EncodeStateMessage(s, message);
    std::string fields;
    for (int offset : {0, 12, 12 + 7 * 5, 12 + 7 * 23, 292, 292 + 7 * 12, 432 + 7 * 4, 432 + 7 * 5,
                       572 + 7 * 30, 572 + 7 * 31}) {
        fields += std::string(message + offset, offset == 0 ? 12 : 7) + " ";
    }
    EXPECT_EQ(fields,
              "005042375-99 0015600 3005501 1200482 999-991 0330-51 6100991 6100990 "
              "0080091 0080090 ");
    EXPECT_EQ(std::string(message + 852, kStateMessageSize - 852), "6x" + std::string(646, '\0'));

    GameSettings settings = kMatchSettings;
    std::tie(settings.explotime, settings.bloodtime, settings.exploanim) = std::tuple(33, 77, 3);
    TestThemeSizes sizes{{50, 30}, {90, 8}, {70, 35}, {100, 9}};
    std::fill_n(sizes.sheep, 4, PictureSize{36, 28});
    std::tie(sizes.shot, sizes.blood, sizes.explosion) =
        std::tuple(PictureSize{8, 16}, PictureSize{24, 18}, PictureSize{180, 50});
    TestMatch client{settings, sizes};
    MatchState& c = client.match;
    c.herds[1][0].direction = c.herds[0][3].direction = 1;
    c.explosions[5].state = 12;
    c.blood[31].state = 40;
    testing::internal::CaptureStderr();
    DecodeStateMessage(message, &c, kScreen);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "x 6  6\nsheep 1  2\n");
    std::string got;
    for (const Sprite* p :
         {&c.herds[1][0], &c.herds[1][5], &c.herds[0][3], &c.shots[1][0], &c.shots[0][2],
          &c.explosions[4], &c.explosions[5], &c.blood[30], &c.blood[31]}) {
        got += Numbers(p->x, p->y, p->state, p->direction) + "; ";
    }
    EXPECT_EQ(Numbers(c.pieces[kCannon2].x, c.pieces[kShield2].x, c.pieces[kCannon1].x,
                      c.pieces[kShield1].x),
              Numbers(800 - 70 - 5, 800 - 100 - 42, 800 - 50 - 375, 800 - 90 + 99));
    EXPECT_EQ(got,
              "763 12 0 1; 464 22 1 1; 644 524 1 -1; -207 683 1 0; 759 584 1 0; "
              "130 451 33 0; 130 451 12 0; 768 573 77 0; 768 573 40 0; ");
    EXPECT_EQ(Numbers(c.status.sheepHitSound, c.status.shotSound, c.status.explosionSound),
              "1 1 0");
}
