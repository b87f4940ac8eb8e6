#include "app/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

TEST(MenuEntryAt, NineBandsOf38RowsEvery40RowsBetweenColumns221And639) {
    for (int entry = 1; entry <= 9; ++entry) {
        int top = 146 + 40 * (entry - 1);
        EXPECT_EQ(MenuEntryAt(221, top), entry);
        EXPECT_EQ(MenuEntryAt(639, top + 37), entry);
        EXPECT_EQ(MenuEntryAt(400, top - 1), 0) << "above entry " << entry;
        EXPECT_EQ(MenuEntryAt(400, top + 38), 0) << "below entry " << entry;
        EXPECT_EQ(MenuEntryAt(220, top), 0);
        EXPECT_EQ(MenuEntryAt(640, top), 0);
    }
}

TEST(MenuLocks, EachLockClearsOnlyOnceItsInputWasSeenUp) {
    MenuLocks locks = {true, true, true};  // the splash ended on a held click, Escape down
    FakeKeys keys;
    auto pass = [&](Uint8 buttons, bool escapeHeld) {
        keys.buttons = buttons;
        keys.held[SDLK_ESCAPE] = escapeHeld;
        ReleaseMenuLocks(&locks, keys.Snapshot());
    };
    pass(SDL_BUTTON(3), true);
    EXPECT_TRUE(locks.click && locks.escape);
    pass(0, true);
    EXPECT_TRUE(locks.click && locks.escape) << "the right button was down at the last reading";
    pass(SDL_BUTTON(1), false);  // a fresh click
    EXPECT_FALSE(locks.click || locks.escape);
    pass(SDL_BUTTON(1), true);
    EXPECT_FALSE(locks.click || locks.escape) << "a lock came back";
}

constexpr Uint32 kUntouched = 0x00ABCDEF;

// Every border pixel tells its own column and row.
Uint32 BorderPixel(int column, int row) {
    return 0x010000u * static_cast<Uint32>(column + 1) + static_cast<Uint32>(row);
}

SurfacePtr MakeColumnBorder(int w, int h) {
    SurfacePtr border = MakeSurface(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            SDL_Rect pixel = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(border.get(), &pixel, BorderPixel(x, y));
        }
    }
    return border;
}

TEST(DrawBar, KeepsBothEndsOfTheBorderAndGivesAnOddColumnToTheRight) {
    struct Case {
        int borderW;
        Uint16 barW;
        std::string shown;  // the border columns drawn from x = 2 on, as digits
    };
    // Bars of even, odd, single, full, zero and more than full width.
    const Case cases[] = {{10, 6, "012789"}, {9, 5, "01678"}, {9, 1, "8"},
                          {5, 5, "01234"},   {5, 0, ""},      {5, 11, "01234"}};
    for (const Case& c : cases) {
        SurfacePtr border = MakeColumnBorder(c.borderW, 3);
        SurfacePtr target = MakeSurface(16, 5, kUntouched);
        TextStyle style = {nullptr, nullptr, nullptr, nullptr, border.get()};
        DrawBar(target.get(), &style, {2, 1, c.barW, 0});
        std::vector<Uint32> drawn;
        std::vector<Uint32> expected;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 16; ++x) {
                size_t shownIndex = static_cast<size_t>(x - 2);
                bool inBar = x >= 2 && shownIndex < c.shown.size() && y >= 1 && y <= 3;
                expected.push_back(inBar ? BorderPixel(c.shown[shownIndex] - '0', y - 1)
                                         : kUntouched);
                drawn.push_back(PixelAt(target.get(), x, y));
            }
        }
        EXPECT_EQ(drawn, expected) << "border " << c.borderW << " wide, bar " << c.barW;
    }
}

TEST(DrawButton, InsetsTheLabelByHalfTheHeightDifference) {
    const Uint32 borderColour = 0x000000FF;
    const Uint32 glyphColour = 0x0000FF00;
    SurfacePtr border = MakeSurface(100, 41, borderColour);  // (41 - 32) / 2 = 4
    SurfacePtr capitals = MakeSurface(30 * 26, 32, glyphColour);
    SurfacePtr target = MakeSurface(200, 80, kUntouched);
    TextStyle style = {capitals.get(), nullptr, nullptr, nullptr, border.get()};

    DrawButton(target.get(), &style, {10, 20, 100, 0}, "A");

    EXPECT_EQ(PixelAt(target.get(), 13, 24), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 14, 23), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 14, 24), glyphColour);
}

TEST(DrawMenuBar, DrawsTheWholeBorderAtColumn220AndReportsRefusedCopies) {
    SurfacePtr border = MakeColumnBorder(30, 4);
    SurfacePtr target = MakeSurface(300, 20, kUntouched);
    TextStyle style = {nullptr, nullptr, nullptr, nullptr, border.get()};

    DrawMenuBar(target.get(), &style, {77, 9, 5, 5});

    EXPECT_EQ(PixelAt(target.get(), 220, 9), BorderPixel(0, 0));
    EXPECT_EQ(PixelAt(target.get(), 249, 12), BorderPixel(29, 3));

    StderrCapture captured;
    SDL_LockSurface(target.get());  // SDL refuses to copy onto a locked surface
    DrawMenuBar(target.get(), &style, {0, 0, 0, 0});
    DrawBar(target.get(), &style, {0, 0, 10, 0});
    SDL_UnlockSurface(target.get());
    std::string text = captured.Text();
    EXPECT_EQ(text.rfind("BlitSurface error: ", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
}

}  // namespace
