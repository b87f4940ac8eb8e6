// Drawing a match frame: the drawn-area list, explosion frames, the shimmering result
// picture, the HUD texts and putting the background back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "match/match_rules.h"
#include "match/match_state.h"
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
constexpr int kFrameW = 20;

struct Scene {
    SurfacePtr screen = MakeSurface(800, 600, 0x00102030);
    SurfacePtr background = MakeSurface(800, 600, 0x00405060);
    SurfacePtr cannon = MakeSurface(40, 30, 0x00AA0000);
    SurfacePtr shield = MakeSurface(60, 10, 0x0000AA00);
    SurfacePtr shot = MakeSurface(4, 8, 0x000000AA);
    SurfacePtr sheep = MakeSurface(20, 16, 0x00EEEEEE);
    SurfacePtr blood = MakeSurface(10, 10, 0x00880000);
    SurfacePtr explosion = MakeSurface(5 * kFrameW, 20);
    SurfacePtr sheets[5] = {
        MakeSurface(30 * 28, 32, kGlyphColour), MakeSurface(30 * 28, 32, kGlyphColour),
        MakeSurface(30 * 28, 32, kGlyphColour), MakeSurface(30 * 28, 32, kGlyphColour),
        MakeSurface(360, 50, 0x00123456)};
    SurfacePtr results[4] = {MakePalettedSurface(100, 50), MakePalettedSurface(100, 50),
                             MakePalettedSurface(100, 50), MakePalettedSurface(100, 50)};
    TextStyle style{};
    MatchTables tables{};
    MatchState match{};

    Scene() {
        // Frame k of the strip is filled with colour k + 1.
        for (int k = 0; k < 5; ++k) {
            SDL_Rect frame = {static_cast<Sint16>(k * kFrameW), 0, kFrameW, 20};
            SDL_FillRect(explosion.get(), &frame, static_cast<Uint32>(k + 1));
        }
        style = {sheets[0].get(), sheets[1].get(), sheets[2].get(), sheets[3].get(),
                 sheets[4].get()};
        ThemeAssets assets{};
        assets.cannon1 = assets.cannon2 = cannon.get();
        assets.shield1 = assets.shield2 = shield.get();
        for (SDL_Surface*& picture : assets.sheeppictures) {
            picture = sheep.get();
        }
        assets.shot = shot.get();
        assets.blood = blood.get();
        assets.explosion = explosion.get();
        MatchStatus status{};
        for (int i = 0; i < 4; ++i) {
            status.pictures[i] = results[i].get();
        }
        GameSettings settings{};
        settings.sheepmax = 20;
        settings.maxshots = 10;
        settings.explotime = 5;
        settings.exploanim = 5;
        settings.bloodtime = 300;
        match = MakeMatchState(&tables, settings, status);
        SetupMatch(&match, ScreenSize{800, 600}, &assets, 0);
        for (auto& herd : match.herds) {
            for (Sprite& s : herd) {
                s.state = 0;
            }
        }
    }

    void Draw() { DrawMatch(&match, screen.get(), &style); }
    SDL_Rect Area(int i) const { return match.drawnAreas[i]; }
};

void ExpectArea(const SDL_Rect& area, int x, int y, int w, int h) {
    EXPECT_EQ(area.x, x);
    EXPECT_EQ(area.y, y);
    EXPECT_EQ(area.w, w);
    EXPECT_EQ(area.h, h);
}

SDL_Color PaletteEntry(SDL_Surface* picture, int i) {
    return picture->format->palette->colors[i];
}

TEST(DrawMatch, RecordsEveryDrawnAreaInDrawingOrder) {
    Scene scene;
    MatchState& m = scene.match;
    m.blood[3] = Sprite{50, 60, 10, 0, 0, scene.blood.get()};
    m.blood[25].state = 10;  // slots from 20 on are never drawn
    m.herds[0][4] = Sprite{100, 560, 1, 1, 1, scene.sheep.get()};
    m.herds[1][0] = Sprite{200, 10, 3, 1, 1, scene.sheep.get()};
    m.shots[0][9] = Sprite{300, 300, 1, 0, 0, scene.shot.get()};
    m.shots[1][0] = Sprite{310, 200, 1, 0, 0, scene.shot.get()};
    m.explosions[7] = Sprite{-10, 500, 2, 0, 0, scene.explosion.get()};
    m.status.phase = Player1Won;
    m.status.showFps = 1;
    m.status.sheepLeft[0] = 1;
    scene.Draw();

    ASSERT_EQ(m.drawnCount, 15);
    ExpectArea(scene.Area(0), 50, 60, 10, 10);
    ExpectArea(scene.Area(1), 100, 560, 20, 16);
    ExpectArea(scene.Area(2), 200, 10, 20, 16);
    for (int p = 0; p < 4; ++p) {
        const SDL_Surface* image = m.pieces[p].image;
        ExpectArea(scene.Area(3 + p), m.pieces[p].x, m.pieces[p].y, image->w, image->h);
    }
    ExpectArea(scene.Area(7), 300, 300, 4, 8);
    ExpectArea(scene.Area(8), 310, 200, 4, 8);
    ExpectArea(scene.Area(9), -10, 500, 100, 20);  // the whole strip is recorded
    ExpectArea(scene.Area(10), 350, 275, 100, 50);
    ExpectArea(scene.Area(11), 230, 430, 500, 40);
    ExpectArea(scene.Area(12), 20, 220, 500, 40);
    ExpectArea(scene.Area(13), 20, 345, 500, 40);
    ExpectArea(scene.Area(14), 630, 345, 500, 40);
    // The hint's bar is drawn but not recorded; the hint covers it.
    EXPECT_EQ(PixelAt(scene.screen.get(), 400 - 180 + 2, 600 - 180 + 2), 0x00123456u);
    // The frame rate starts at W - 170 on the player 1 row.
    EXPECT_EQ(PixelAt(scene.screen.get(), 630, 345), kGlyphColour);
}

TEST(DrawMatch, RunningFrameRecordsOnlyPiecesAndTexts) {
    Scene scene;
    scene.Draw();
    EXPECT_EQ(scene.match.drawnCount, 4 + 2);
    scene.match.status.phase = SuddenDeath;  // picture, but no hint
    scene.Draw();
    ASSERT_EQ(scene.match.drawnCount, 4 + 1 + 2);
    ExpectArea(scene.Area(4), 350, 275, 100, 50);
    ExpectArea(scene.Area(5), 20, 220, 500, 40);
}

TEST(DrawMatch, NeverRecordsPastTheListsCapacity) {
    Scene scene;
    MatchState& m = scene.match;
    for (int j = 0; j < 20; ++j) {
        m.herds[0][j] = Sprite{j * 30, 560, 1, 1, 1, scene.sheep.get()};
        m.herds[1][j] = Sprite{j * 30, 10, 1, 1, 1, scene.sheep.get()};
        m.blood[j].state = 5;
        m.explosions[j].state = 5;
    }
    for (int i = 0; i < 10; ++i) {
        m.shots[0][i].state = 1;
        m.shots[1][i].state = 1;
    }
    m.status.phase = Draw;
    m.status.showFps = 1;
    m.paletteStep = 0;
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
        Scene scene;
        scene.match.settings.explotime = c.explotime;
        scene.match.settings.exploanim = c.exploanim;
        scene.match.explosions[2] = Sprite{500, 400, c.state, 0, 0, scene.explosion.get()};
        scene.Draw();
        SCOPED_TRACE(testing::Message()
                     << c.explotime << "/" << c.exploanim << " state " << c.state);
        EXPECT_EQ(PixelAt(scene.screen.get(), 505, 405), static_cast<Uint32>(c.frame + 1));
        // Only one frame wide.
        EXPECT_EQ(PixelAt(scene.screen.get(), 500 + kFrameW, 405), 0x00102030u);
    }
}

TEST(DrawMatch, ResultPictureShimmersOneStepPerFrame) {
    Scene scene;
    SDL_Surface* winner = scene.results[kWinner].get();
    scene.match.status.phase = Player1Won;
    scene.Draw();
    EXPECT_EQ(scene.match.paletteStep, 1);
    EXPECT_EQ(PaletteEntry(winner, 1).r, 0);
    EXPECT_EQ(PaletteEntry(winner, 0).r, 255);
    EXPECT_EQ(scene.match.status.savedPalette[200].g, 200);
    scene.Draw();
    EXPECT_EQ(scene.match.paletteStep, 2);
    EXPECT_EQ(PaletteEntry(winner, 2).b, 0);
    EXPECT_EQ(PaletteEntry(winner, 12).r, 10);
    // The step wraps to 1, never to 0.
    scene.match.paletteStep = 255;
    scene.Draw();
    EXPECT_EQ(scene.match.paletteStep, 1);
    EXPECT_EQ(PaletteEntry(winner, 1).r, 0);
}

TEST(DrawMatch, ANewResultSavesItsOwnPaletteFirst) {
    Scene scene;
    SDL_Surface* loser = scene.results[kLoser].get();
    SDL_Color reversed[256];
    for (int i = 0; i < 256; ++i) {
        reversed[i].r = reversed[i].g = reversed[i].b = static_cast<Uint8>(255 - i);
    }
    SDL_SetColors(loser, reversed, 0, 256);
    scene.match.herds[0][0] = Sprite{100, 560, 1, 1, 1, scene.sheep.get()};
    scene.match.herds[1][0] = Sprite{100, 10, 1, 1, 1, scene.sheep.get()};
    UpdateOutcome(&scene.match);
    ASSERT_EQ(scene.match.status.phase, SuddenDeath);
    scene.Draw();
    scene.Draw();
    scene.match.herds[0][0].state = 0;
    UpdateOutcome(&scene.match);
    ASSERT_EQ(scene.match.status.phase, Player2Won);
    scene.Draw();
    EXPECT_EQ(scene.match.status.savedPalette[0].r, 255);
    EXPECT_EQ(PaletteEntry(loser, 1).r, 255);
    EXPECT_EQ(scene.match.paletteStep, 1);
}

TEST(CyclePalette, LeavesPicturesWithoutPaletteAlone) {
    Scene scene;
    SurfacePtr plain = MakeSurface(100, 50, 0x00ABCDEF);
    scene.match.status.pictures[kDraw] = plain.get();
    scene.match.status.phase = Draw;
    scene.Draw();
    EXPECT_EQ(scene.match.paletteStep, 0);
    EXPECT_EQ(PixelAt(scene.screen.get(), 400, 300), 0x00ABCDEFu);
    SDL_Color saved[256] = {};
    int step = 0;
    CyclePalette(saved, nullptr, &step);
    EXPECT_EQ(step, 0);
}

TEST(DrawMatch, HudDrawsBothCountLinesAndNoRateWhileOff) {
    Scene scene;
    scene.match.status.sheepLeft[0] = 7;
    scene.match.status.sheepLeft[1] = 17;
    scene.Draw();
    // "P" of each count line is drawn from the capitals sheet.
    EXPECT_EQ(PixelAt(scene.screen.get(), 21, 221), kGlyphColour);
    EXPECT_EQ(PixelAt(scene.screen.get(), 21, 346), kGlyphColour);
    EXPECT_NE(PixelAt(scene.screen.get(), 631, 346), kGlyphColour) << "fps shown while off";
}

TEST(DrawMatch, FailedBlitsAreReportedAndDrawingGoesOn) {
    Scene scene;
    scene.match.pieces[kCannon2].image = nullptr;
    StderrCapture capture;
    scene.Draw();
    const std::string text = capture.Text();
    EXPECT_EQ(text.rfind("BlitSurface error: ", 0), 0u) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(scene.match.drawnCount, 6);
}

TEST(EraseDrawnAreas, PutsTheBackgroundBackOnlyWhereRecorded) {
    Scene scene;
    scene.match.herds[0][0] = Sprite{100, 560, 1, 1, 1, scene.sheep.get()};
    scene.Draw();
    const Uint32 painted = 0x00102030;
    EXPECT_EQ(PixelAt(scene.screen.get(), 105, 565), 0x00EEEEEEu);
    EraseDrawnAreas(scene.background.get(), scene.screen.get(), scene.match.drawnAreas,
                    scene.match.drawnCount);
    EXPECT_EQ(PixelAt(scene.screen.get(), 105, 565), 0x00405060u);
    EXPECT_EQ(PixelAt(scene.screen.get(), 99, 565), painted);
    const Sprite& cannon = scene.match.pieces[kCannon1];
    EXPECT_EQ(PixelAt(scene.screen.get(), cannon.x, cannon.y), 0x00405060u);
    EXPECT_EQ(PixelAt(scene.screen.get(), 25, 225), 0x00405060u);
}

TEST(EraseDrawnAreas, ReportsAFailedBlit) {
    Scene scene;
    SDL_Rect area = {0, 0, 10, 10};
    StderrCapture capture;
    EraseDrawnAreas(nullptr, scene.screen.get(), &area, 1);
    EXPECT_EQ(capture.Text().rfind("BlitSurface error: ", 0), 0u);
}

TEST(FormatSheepCount, WritesPlayerAndCount) {
    char text[40];
    FormatSheepCount(2, 17, text, sizeof text);
    EXPECT_STREQ(text, "Player 2: 17 Sheep");
    FormatSheepCount(1, 0, text, sizeof text);
    EXPECT_STREQ(text, "Player 1: 0 Sheep");
    char small[8];
    FormatSheepCount(1, 20, small, sizeof small);
    EXPECT_STREQ(small, "Player ");
}

TEST(FormatFps, TwoDecimalsAndNoLeadingZero) {
    struct Case {
        float fps;
        const char* text;
    };
    const Case cases[] = {
        {1000.0f / 30, "33.33 fps"}, {1000.0f / 45, "22.22 fps"}, {0.5f, ".50 fps"},
        {0.1f, ".10 fps"},           {0.05f, ".05 fps"},          {0.004f, ".00 fps"},
        {0.0f, ".00 fps"},           {1000.0f, "1000.00 fps"},    {9.996f, "10.00 fps"},
        {0.996f, "1.00 fps"},
    };
    for (const Case& c : cases) {
        char text[32];
        FormatFps(c.fps, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.fps;
    }
}

TEST(FormatFps, AbsurdRatesStaySane) {
    char text[32];
    FormatFps(std::numeric_limits<float>::quiet_NaN(), text, sizeof text);
    EXPECT_STREQ(text, ".00 fps");
    FormatFps(-3.0f, text, sizeof text);
    EXPECT_STREQ(text, ".00 fps");
    FormatFps(std::numeric_limits<float>::infinity(), text, sizeof text);
    EXPECT_STREQ(text, "999999.99 fps");
    FormatFps(3e38f, text, sizeof text);
    EXPECT_STREQ(text, "999999.99 fps");
    char tiny[4];
    FormatFps(33.33f, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "33.");
}

}  // namespace
