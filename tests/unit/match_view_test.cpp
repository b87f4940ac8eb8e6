// Drawing a match frame: the drawn-area list, explosion frames, the shimmering result
// picture, the HUD texts and putting the background back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "match/match_view.h"
#include "test_support.h"

namespace {

class VideoEnvironment : public testing::Environment {
   public:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};
const testing::Environment* const kVideo = testing::AddGlobalTestEnvironment(new VideoEnvironment);

constexpr Uint32 kGlyphColour = 0x00FFFFFF;
constexpr Uint32 kScreenColour = 0x00102030;
constexpr Uint32 kBackgroundColour = 0x00405060;
constexpr Uint32 kBarColour = 0x00123456;
constexpr int kFrameW = 20;  // the 100-wide strip in five frames

// A match with empty herds, ten shots and five-frame explosions, drawn on its own screen
// with glyph sheets of one colour. Frame k of the explosion strip has colour k + 1.
struct Scene : TestMatch {
    SurfacePtr screen = MakeSurface(800, 600, kScreenColour);
    SurfacePtr background = MakeSurface(800, 600, kBackgroundColour);
    SurfacePtr sheets[5] = {
        MakeSurface(30 * 28, 32, kGlyphColour), MakeSurface(30 * 28, 32, kGlyphColour),
        MakeSurface(30 * 28, 32, kGlyphColour), MakeSurface(30 * 28, 32, kGlyphColour),
        MakeSurface(360, 50, kBarColour)};
    TextStyle style{sheets[0].get(), sheets[1].get(), sheets[2].get(), sheets[3].get(),
                    sheets[4].get()};

    Scene() {
        EmptyHerds();
        match.settings.maxshots = 10;
        match.settings.explotime = 5;
        for (int k = 0; k < 5; ++k) {
            SDL_Rect frame = {static_cast<Sint16>(k * kFrameW), 0, kFrameW, 20};
            SDL_FillRect(theme.explosion.get(), &frame, static_cast<Uint32>(k + 1));
        }
    }
    void Draw() { DrawMatch(&match, screen.get(), &style); }
    Uint32 Pixel(int x, int y) { return PixelAt(screen.get(), x, y); }
};

std::string AreaText(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

SDL_Color PaletteEntry(SDL_Surface* picture, int i) {
    return picture->format->palette->colors[i];
}

TEST(DrawMatch, RecordsEveryDrawnAreaInDrawingOrder) {
    Scene scene;
    MatchState& m = scene.match;
    m.blood[3] = Sprite{50, 60, 10, 0, 0, scene.theme.blood.get()};
    m.blood[25].state = 10;  // slots from 20 on are never drawn
    m.herds[0][4] = Sprite{100, 560, 1, 1, 1, scene.theme.sheep[0].get()};
    m.herds[1][0] = Sprite{200, 10, 3, 1, 1, scene.theme.sheep[0].get()};
    m.shots[0][9] = Sprite{300, 300, 1, 0, 0, scene.theme.shot.get()};
    m.shots[1][0] = Sprite{310, 200, 1, 0, 0, scene.theme.shot.get()};
    m.explosions[7] = Sprite{-10, 500, 2, 0, 0, scene.theme.explosion.get()};
    m.status.phase = Player1Won;
    m.status.showFps = 1;
    scene.Draw();

    // Blood, sheep, the four pieces, shots, the whole explosion strip, the result, the
    // hint, the two count lines and the rate.
    const SDL_Rect expected[] = {{50, 60, 10, 10},    {100, 560, 20, 16}, {200, 10, 20, 16},
                                 {380, 390, 40, 30},  {370, 465, 60, 10}, {430, 177, 40, 30},
                                 {370, 123, 60, 10},  {300, 300, 4, 8},   {310, 200, 4, 8},
                                 {-10, 500, 100, 20}, {375, 290, 50, 20}, {230, 430, 500, 40},
                                 {20, 220, 500, 40},  {20, 345, 500, 40}, {630, 345, 500, 40}};
    ASSERT_EQ(m.drawnCount, 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(AreaText(m.drawnAreas[i]), AreaText(expected[i])) << "area " << i;
    }
    // The hint's bar is drawn but not recorded: the hint's area covers it.
    EXPECT_EQ(scene.Pixel(400 - 180 + 2, 600 - 180 + 2), kBarColour);
}

// Count lines always; the result picture in every phase but Running; the hint only once
// decided; the rate, at W - 170 on the player 1 row, only while switched on.
TEST(DrawMatch, WhatEachPhaseShows) {
    struct Case {
        int phase, showFps, areas;
    };
    const Case cases[] = {{Running, 0, 6},    {Running, 1, 7},    {SuddenDeath, 0, 7},
                          {Player1Won, 0, 8}, {Player2Won, 1, 9}, {Draw, 0, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << " fps " << c.showFps);
        Scene scene;
        scene.match.status.phase = c.phase;
        scene.match.status.showFps = c.showFps;
        scene.Draw();
        EXPECT_EQ(scene.match.drawnCount, c.areas);
        EXPECT_EQ(scene.Pixel(21, 221), kGlyphColour);  // the "P" of each count line
        EXPECT_EQ(scene.Pixel(21, 346), kGlyphColour);
        EXPECT_EQ(scene.Pixel(631, 346) == kGlyphColour, c.showFps == 1);
    }
}

TEST(DrawMatch, NeverRecordsPastTheListsCapacity) {
    Scene scene;
    MatchState& m = scene.match;
    for (int j = 0; j < 20; ++j) {
        m.herds[0][j] = Sprite{j * 30, 560, 1, 1, 1, scene.theme.sheep[0].get()};
        m.herds[1][j] = Sprite{j * 30, 10, 1, 1, 1, scene.theme.sheep[0].get()};
        m.blood[j].state = 5;
        m.explosions[j].state = 5;
    }
    for (int i = 0; i < 10; ++i) {
        m.shots[0][i].state = 1;
        m.shots[1][i].state = 1;
    }
    m.status.phase = Draw;
    m.status.showFps = 1;
    scene.Draw();
    EXPECT_EQ(m.drawnCount, kDrawnAreaCapacity);
    EXPECT_EQ(m.paletteStep, 1) << "something wrote past the list";
}

TEST(DrawMatch, ShowsOneExplosionFrameWithTheRatioTakenFirst) {
    struct Case {
        int explotime, exploanim, state, frame;
    };
    const Case cases[] = {
        {5, 5, 5, 0},  {5, 5, 1, 4},    // one frame per tick
        {2, 5, 2, 0},  {2, 5, 1, 2},    // 5 / 2 = 2: every other frame
        {10, 5, 1, 0}, {10, 5, 10, 0},  // lifetime longer than the strip: first frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.explotime << "/" << c.exploanim << " state " << c.state);
        Scene scene;
        scene.match.settings.explotime = c.explotime;
        scene.match.settings.exploanim = c.exploanim;
        scene.match.explosions[2] = Sprite{500, 400, c.state, 0, 0, scene.theme.explosion.get()};
        scene.Draw();
        EXPECT_EQ(scene.Pixel(505, 405), static_cast<Uint32>(c.frame + 1));
        EXPECT_EQ(scene.Pixel(500 + kFrameW, 405), kScreenColour) << "more than one frame";
    }
}

TEST(DrawMatch, ResultPictureShimmersOneStepPerFrameFromItsOwnColours) {
    Scene scene;
    MatchState& m = scene.match;
    SDL_Surface* winner = scene.theme.results[kWinner].get();
    m.status.phase = Player1Won;
    scene.Draw();
    EXPECT_EQ(m.paletteStep, 1);
    EXPECT_EQ(PaletteEntry(winner, 1).r, 0);
    EXPECT_EQ(PaletteEntry(winner, 0).r, 255);
    scene.Draw();
    EXPECT_EQ(m.paletteStep, 2);
    EXPECT_EQ(PaletteEntry(winner, 2).b, 0);
    EXPECT_EQ(PaletteEntry(winner, 12).r, 10);
    m.paletteStep = 255;
    scene.Draw();
    EXPECT_EQ(m.paletteStep, 1) << "the step wraps to 1, never to 0";
    EXPECT_EQ(PaletteEntry(winner, 1).r, 0);

    // A new result (the step set back to 0) saves its own colours before cycling.
    SDL_Surface* loser = scene.theme.results[kLoser].get();
    SDL_Color reversed[256];
    for (int i = 0; i < 256; ++i) {
        reversed[i].r = reversed[i].g = reversed[i].b = static_cast<Uint8>(255 - i);
    }
    SDL_SetColors(loser, reversed, 0, 256);
    m.status.phase = Player2Won;
    m.paletteStep = 0;
    scene.Draw();
    EXPECT_EQ(m.status.savedPalette[0].r, 255);
    EXPECT_EQ(PaletteEntry(loser, 1).r, 255);
}

TEST(CyclePalette, LeavesPicturesWithoutPaletteAlone) {
    Scene scene;
    SurfacePtr plain = MakeSurface(100, 50, 0x00ABCDEF);
    scene.match.status.pictures[kDraw] = plain.get();
    scene.match.status.phase = Draw;
    scene.Draw();
    EXPECT_EQ(scene.match.paletteStep, 0);
    EXPECT_EQ(scene.Pixel(400, 300), 0x00ABCDEFu);
    CyclePalette(scene.match.status.savedPalette, nullptr, &scene.match.paletteStep);
    EXPECT_EQ(scene.match.paletteStep, 0);
}

TEST(EraseDrawnAreas, PutsTheBackgroundBackOnlyWhereRecorded) {
    Scene scene;
    scene.match.herds[0][0] = Sprite{100, 560, 1, 1, 1, scene.theme.sheep[0].get()};
    scene.Draw();
    EXPECT_EQ(scene.Pixel(105, 565), 0u);  // the sheep
    EraseDrawnAreas(scene.background.get(), scene.screen.get(), scene.match.drawnAreas,
                    scene.match.drawnCount);
    EXPECT_EQ(scene.Pixel(105, 565), kBackgroundColour);
    EXPECT_EQ(scene.Pixel(99, 565), kScreenColour);
    const Sprite& cannon = scene.match.pieces[kCannon1];
    EXPECT_EQ(scene.Pixel(cannon.x, cannon.y), kBackgroundColour);
    EXPECT_EQ(scene.Pixel(25, 225), kBackgroundColour);
}

TEST(DrawMatch, FailedBlitsAreReportedAndDrawingGoesOn) {
    Scene scene;
    scene.match.pieces[kCannon2].image = nullptr;
    StderrCapture capture;
    scene.Draw();
    EXPECT_EQ(scene.match.drawnCount, 6);
    EraseDrawnAreas(nullptr, scene.screen.get(), scene.match.drawnAreas, 1);
    const std::string line = "BlitSurface error: ";
    const std::string text = capture.Text();
    EXPECT_EQ(text.rfind(line, 0), 0u) << text;
    EXPECT_NE(text.find("\n" + line), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST(HudText, SheepCountsAndTheRateWithTwoDecimalsAndNoLeadingZero) {
    char text[32];
    FormatSheepCount(2, 17, text, sizeof text);
    EXPECT_STREQ(text, "Player 2: 17 Sheep");
    FormatSheepCount(1, 0, text, sizeof text);
    EXPECT_STREQ(text, "Player 1: 0 Sheep");
    struct Case {
        float fps;
        const char* text;
    };
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float kInfinity = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {1000.0f / 30, "33.33 fps"},  {0.5f, ".50 fps"},        {0.05f, ".05 fps"},
        {0.004f, ".00 fps"},          {1000.0f, "1000.00 fps"}, {9.996f, "10.00 fps"},
        {0.996f, "1.00 fps"},         {kNaN, ".00 fps"},        {-3.0f, ".00 fps"},
        {kInfinity, "999999.99 fps"}, {3e38f, "999999.99 fps"}};
    for (const Case& c : cases) {
        FormatFps(c.fps, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.fps;
    }
    char tiny[8];
    FormatSheepCount(1, 20, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "Player ");
    FormatFps(33.33f, tiny, 4);
    EXPECT_STREQ(tiny, "33.");
}

// The shortcuts below show exactly what the plain way shows: the union of the drawn areas
// erased at once, and explosion frames cut out of their strip.

// Every pixel different, so a copy from the wrong place shows.
SurfacePtr Patterned(int w, int h, Uint32 amask = 0) {
    SurfacePtr s(SDL_CreateRGBSurface(0, w, h, 32, 0xFF0000, 0xFF00, 0xFF, amask));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] =
                (static_cast<Uint32>(x * 7 + y * 13) & 0xFFFFFF) | (amask & (x * 40u << 24));
        }
    }
    return s;
}

bool SamePixels(SDL_Surface* a, SDL_Surface* b) {
    return a->h == b->h && a->pitch == b->pitch &&
           memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->h) == 0;
}

TEST(EraseDrawnAreas, CopiesWhatTheAreasOneByOneWouldCopy) {
    struct Case {
        const char* what;
        int backgroundW, backgroundH;
        Uint8 alpha;  // 255: a plain copy; less: every area blends in turn
    };
    const Case cases[] = {{"screen-sized", 800, 600, 255},
                          {"smaller than the screen", 500, 300, 255},
                          {"blending", 800, 600, 128}};
    srand(7);
    for (const Case& c : cases) {
        for (int round = 0; round < 12; ++round) {
            SCOPED_TRACE(testing::Message() << c.what << ", round " << round);
            SDL_Rect areas[kDrawnAreaCapacity];
            const int count = round == 0 ? 0 : rand() % kDrawnAreaCapacity + 1;
            for (int i = 0; i < count; ++i) {  // overlapping, off every edge, some empty
                areas[i] = SDL_Rect{static_cast<Sint16>(rand() % 1000 - 100),
                                    static_cast<Sint16>(rand() % 800 - 100),
                                    static_cast<Uint16>(rand() % (i % 5 == 0 ? 1300 : 80)),
                                    static_cast<Uint16>(rand() % (i % 7 == 0 ? 700 : 70))};
            }
            SurfacePtr background = Patterned(c.backgroundW, c.backgroundH);
            if (c.alpha != 255) {
                SDL_SetAlpha(background.get(), SDL_SRCALPHA, c.alpha);
            }
            SurfacePtr expected = MakeSurface(800, 600, 0x00A0B0C0);
            SurfacePtr screen = MakeSurface(800, 600, 0x00A0B0C0);
            for (int i = count - 1; i >= 0; --i) {
                SDL_Rect from = areas[i], to = areas[i];
                SDL_BlitSurface(background.get(), &from, expected.get(), &to);
            }
            EraseDrawnAreas(background.get(), screen.get(), areas, count);
            EXPECT_TRUE(SamePixels(screen.get(), expected.get()));
        }
    }
}

TEST(DrawMatch, ExplosionFramesOfTheirOwnShowWhatTheStripShows) {
    struct Case {
        const char* what;
        Uint32 amask;
        Uint8 alpha;  // the strip's own alpha: a theme's picture may have no alpha channel
        int exploanim;
        bool encodedBefore;  // the strip was blitted (RLE-encoded) before it was cut
    };
    const Case cases[] = {{"per-pixel alpha", 0xFF000000, 255, 5, false},
                          {"per-pixel alpha, encoded", 0xFF000000, 255, 5, true},
                          {"half see-through, 4 frames", 0, 128, 4, false},
                          {"frames wider than the strip", 0xFF000000, 255, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestMatch plain;
        SurfacePtr strip = Patterned(100, 20, c.amask);
        SDL_SetAlpha(strip.get(), SDL_SRCALPHA | SDL_RLEACCEL, c.alpha);
        SurfacePtr screen = MakeSurface(800, 600, 0x00336699);
        SurfacePtr other = MakeSurface(800, 600, 0x00336699);
        if (c.encodedBefore) {
            SDL_BlitSurface(strip.get(), nullptr, other.get(), nullptr);
            SDL_FillRect(other.get(), nullptr, 0x00336699);
        }
        MatchState& m = plain.match;
        plain.EmptyHerds();
        m.settings.explotime = 5;
        m.settings.exploanim = c.exploanim;
        m.settings.exploframewidth = c.exploanim > 0 ? 100 / c.exploanim : 200;
        for (int i = 0; i < 5; ++i) {  // every frame, one partly off the screen
            m.explosions[i] = Sprite{i * 150 - 10, 300 + i, i + 1, 0, 0, strip.get()};
        }
        ExplosionFrames frames;
        CutExplosionFrames(strip.get(), m.settings.exploframewidth, &frames);
        EXPECT_EQ(frames.count, c.exploanim > 0 ? c.exploanim : 0);
        SurfacePtr sheet = MakeSurface(30 * 28, 32, 0x00FFFFFF);
        TextStyle style{sheet.get(), sheet.get(), sheet.get(), sheet.get(), sheet.get()};
        DrawMatchFrame(&m, screen.get(), &style);
        m.explosionFrames = &frames;
        DrawMatchFrame(&m, other.get(), &style);
        EXPECT_TRUE(SamePixels(screen.get(), other.get()));
    }
}

}  // namespace
