// Drawing a match frame: explosion frames, the shimmering result picture and the HUD
// texts. Putting the background back shows in the local loop's tests.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <tuple>

#include "match/match_view.h"
#include "test_support.h"

constexpr Uint32 kScreen = 0x00102030;

// A match with five-frame explosions, drawn on its own screen with glyph sheets of one
// colour. Frame k of the 100-wide strip has colour k + 1.
struct Scene : TestMatch {
    SurfacePtr screen = MakeSurface(800, 600, kScreen);
    SurfacePtr sheet = MakeSurface(30 * 28, 50, 0x00FFFFFF);
    TextStyle style{sheet.get(), sheet.get(), sheet.get(), sheet.get(), sheet.get()};
    MatchState& m = match;
    Scene() {
        SDL_Init(SDL_INIT_VIDEO);  // showing the frame needs the video layer
        m.settings.explotime = 5;
        for (int k = 0; k < 5; ++k) {
            SDL_Rect frame = {Sint16(k * 20), 0, 20, 20};
            SDL_FillRect(assets.explosion, &frame, Uint32(k + 1));
        }
    }
    Uint32 Pixel(int x, int y) { return PixelAt(screen.get(), x, y); }
    void Draw(int phase) {
        m.status.phase = phase;
        DrawMatch(&m, screen.get(), &style);
    }
};

// Each case: explotime, exploanim, frames left, the strip frame shown. The ratio is taken
// first: one frame per tick; 5 / 2 = 2, every other frame; a lifetime longer than the
// strip shows its first frame throughout. Only one frame is drawn.
TEST(DrawMatch, ShowsOneExplosionFrameWithTheRatioTakenFirst) {
    const int cases[][4] = {{5, 5, 5, 0}, {5, 5, 1, 4},  {2, 5, 2, 0},
                            {2, 5, 1, 2}, {10, 5, 1, 0}, {10, 5, 10, 0}};
    for (auto [explotime, exploanim, state, frame] : cases) {
        Scene s;
        s.m.settings.explotime = explotime;
        s.m.settings.exploanim = exploanim;
        s.m.explosions[2] = {500, 400, state, 0, 0, s.assets.explosion};
        s.Draw(Running);
        EXPECT_EQ(Numbers(s.Pixel(505, 405), s.Pixel(520, 405)), Numbers(frame + 1, kScreen));
    }
}

// Each frame the result picture's saved colours turn one more place: the step runs 1, 2,
// ... and wraps to 1. A new result, its step set back to 0, saves its own colours first.
TEST(DrawMatch, TheResultPictureShimmersOneStepPerFrameFromItsOwnColours) {
    Scene s;
    SDL_Color *winner = s.assets.pictures[kWinner]->format->palette->colors,
              *loser = s.assets.pictures[kLoser]->format->palette->colors;
    std::string seen;
    for (auto [phase, step] :
         {std::pair(Player1Won, 0), {Player1Won, 1}, {Player1Won, 255}, {Player2Won, 0}}) {
        if (phase == Player2Won) {
            std::reverse(loser, loser + 256);  // the loser picture gets colours of its own
        }
        s.m.paletteStep = step;
        s.Draw(phase);
        seen += Numbers(s.m.paletteStep, winner[1].r, winner[12].r, loser[1].r) + "; ";
    }
    EXPECT_EQ(seen, "1 0 11 1; 2 255 10 1; 1 0 11 1; 1 0 11 255; ");
}

// The count line, the rate with two decimals and no digit before the point below 1 (odd
// rates read as 0 or the largest one shown), and a count line cut to its buffer.
TEST(HudText, SheepCountsAndTheRateWithTwoDecimalsAndNoLeadingZero) {
    char text[32];
    FormatSheepCount(2, 17, text, sizeof text);
    std::string shown = text;
    for (float fps :
         {1000.0f / 30, 0.5f, 0.05f, 0.004f, 1000.0f, 9.996f, 0.996f, -3.0f,
          std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        FormatFps(fps, text, sizeof text);
        shown += std::string("|") + text;
    }
    FormatSheepCount(1, 20, text, 8);
    EXPECT_EQ(shown + "|" + text,
              "Player 2: 17 Sheep|33.33 fps|.50 fps|.05 fps|.00 fps|1000.00 fps|10.00 fps|"
              "1.00 fps|.00 fps|.00 fps|999999.99 fps|Player ");
}

// The shortcuts below show exactly what the plain way shows: the union of the drawn areas
// erased at once, and explosion frames cut out of their strip.

// Every pixel different, so a copy from the wrong place shows.
static SurfacePtr Patterned(int w, int h, Uint32 amask = 0) {
    SurfacePtr s(SDL_CreateRGBSurface(0, w, h, 32, 0xFF0000, 0xFF00, 0xFF, amask));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] =
                (static_cast<Uint32>(x * 7 + y * 13) & 0xFFFFFF) | (amask & (x * 40u << 24));
        }
    }
    return s;
}

static bool SamePixels(SDL_Surface* a, SDL_Surface* b) {
    return a->h == b->h && a->pitch == b->pitch &&
           memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->h) == 0;
}

// Screen-sized, smaller than the screen, and blending (each area blends in turn); the
// areas overlap, run off every edge, and some are empty.
TEST(EraseDrawnAreas, CopiesWhatTheAreasOneByOneWouldCopy) {
    srand(7);
    for (auto [w, h, alpha] : {std::tuple(800, 600, 255), {500, 300, 255}, {800, 600, 128}}) {
        for (int round = 0; round < 12; ++round) {
            SCOPED_TRACE(testing::Message() << w << " " << alpha << ", round " << round);
            SDL_Rect areas[kDrawnAreaCapacity];
            const int count = round == 0 ? 0 : rand() % kDrawnAreaCapacity + 1;
            for (int i = 0; i < count; ++i) {
                areas[i] = {Sint16(rand() % 1000 - 100), Sint16(rand() % 800 - 100),
                            Uint16(rand() % (i % 5 == 0 ? 1300 : 80)),
                            Uint16(rand() % (i % 7 == 0 ? 700 : 70))};
            }
            SurfacePtr background = Patterned(w, h);
            SDL_SetAlpha(background.get(), alpha == 255 ? 0 : SDL_SRCALPHA, Uint8(alpha));
            SurfacePtr expected = MakeSurface(800, 600, kScreen),
                       screen = MakeSurface(800, 600, kScreen);
            for (int i = count - 1; i >= 0; --i) {
                SDL_Rect from = areas[i], to = areas[i];
                SDL_BlitSurface(background.get(), &from, expected.get(), &to);
            }
            EraseDrawnAreas(background.get(), screen.get(), areas, count);
            EXPECT_TRUE(SamePixels(screen.get(), expected.get()));
        }
    }
}

// Each case: the strip's alpha mask, its own alpha (a theme's picture may have no alpha
// channel), exploanim (0: frames wider than the strip), and whether the strip was blitted,
// and so run-length encoded, before it was cut.
TEST(DrawMatch, ExplosionFramesOfTheirOwnShowWhatTheStripShows) {
    const std::tuple<Uint32, int, int, bool> cases[] = {{0xFF000000, 255, 5, false},
                                                        {0xFF000000, 255, 5, true},
                                                        {0, 128, 4, false},
                                                        {0xFF000000, 255, 0, false}};
    for (auto [amask, alpha, exploanim, encodedBefore] : cases) {
        SCOPED_TRACE(testing::Message() << alpha << " " << exploanim << " " << encodedBefore);
        Scene s;
        SurfacePtr strip = Patterned(100, 20, amask), other = MakeSurface(800, 600, kScreen);
        SDL_SetAlpha(strip.get(), SDL_SRCALPHA | SDL_RLEACCEL, Uint8(alpha));
        if (encodedBefore) {
            SDL_BlitSurface(strip.get(), nullptr, other.get(), nullptr);
            SDL_FillRect(other.get(), nullptr, kScreen);
        }
        s.m.settings.exploanim = exploanim;
        s.m.settings.exploframewidth = exploanim > 0 ? 100 / exploanim : 200;
        for (int i = 0; i < 5; ++i) {  // every frame, one partly off the screen
            s.m.explosions[i] = Sprite{i * 150 - 10, 300 + i, i + 1, 0, 0, strip.get()};
        }
        ExplosionFrames frames;
        DrawMatchFrame(&s.m, s.screen.get(), &s.style);
        UseExplosionFrames(&s.m, strip.get(), &frames);
        EXPECT_EQ(frames.count, exploanim);
        DrawMatchFrame(&s.m, other.get(), &s.style);
        EXPECT_TRUE(SamePixels(s.screen.get(), other.get()));
    }
}
