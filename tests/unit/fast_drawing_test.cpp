// The shortcuts of drawing and erasing show exactly what the plain way shows: the union
// of the drawn areas erased at once, and explosion frames cut out of their strip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "match/match_view.h"
#include "test_support.h"

namespace {

class VideoEnvironment : public testing::Environment {
   public:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};
const testing::Environment* const kVideo = testing::AddGlobalTestEnvironment(new VideoEnvironment);

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
