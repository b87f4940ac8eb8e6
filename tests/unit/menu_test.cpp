#include "app/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

TEST(MenuEntryAt, BandsAreThirtyEightRowsFromFourAboveEachLabel) {
    for (int entry = 1; entry <= 9; ++entry) {
        int top = 146 + 40 * (entry - 1);
        EXPECT_EQ(MenuEntryAt(400, top), entry);
        EXPECT_EQ(MenuEntryAt(400, top + 37), entry);
    }
    EXPECT_EQ(MenuEntryAt(400, 145), 0);
    EXPECT_EQ(MenuEntryAt(400, 504), 0);
}

TEST(MenuEntryAt, GapRowsBetweenBandsSelectNothing) {
    for (int gap = 184; gap <= 464; gap += 40) {
        EXPECT_EQ(MenuEntryAt(400, gap), 0) << "row " << gap;
        EXPECT_EQ(MenuEntryAt(400, gap + 1), 0) << "row " << gap + 1;
    }
    EXPECT_EQ(MenuEntryAt(400, 183), 1);
    EXPECT_EQ(MenuEntryAt(400, 186), 2);
}

TEST(MenuEntryAt, OnlyColumns221To639Count) {
    EXPECT_EQ(MenuEntryAt(220, 150), 0);
    EXPECT_EQ(MenuEntryAt(640, 150), 0);
    EXPECT_EQ(MenuEntryAt(221, 146), 1);
    EXPECT_EQ(MenuEntryAt(639, 503), 9);
}

// One pass start: the locks see this reading, then the pass goes on with it.
MenuLocks AfterPass(MenuLocks locks, const FakeKeys& keys) {
    ReleaseMenuLocks(&locks, keys.Snapshot());
    return locks;
}

TEST(MenuLocks, ClickLockWaitsForBothButtonsUpAtThePreviousReading) {
    FakeKeys keys;
    MenuLocks locks = {true, false, true};  // the splash ended on a held click

    keys.buttons = SDL_BUTTON(3);
    locks = AfterPass(locks, keys);
    EXPECT_TRUE(locks.click) << "the reading after the splash still had a button down";
    EXPECT_TRUE(locks.leftOrRightWasDown);

    keys.buttons = 0;
    locks = AfterPass(locks, keys);
    EXPECT_TRUE(locks.click) << "the right button was down at the previous reading";

    keys.buttons = SDL_BUTTON(1);  // a fresh click
    locks = AfterPass(locks, keys);
    EXPECT_FALSE(locks.click);
    EXPECT_TRUE(locks.leftOrRightWasDown);
}

TEST(MenuLocks, ClickLockStaysClearOnceReleased) {
    FakeKeys keys;
    MenuLocks locks = {true, false, false};
    keys.buttons = SDL_BUTTON(1) | SDL_BUTTON(3);
    locks = AfterPass(locks, keys);
    EXPECT_FALSE(locks.click);
    locks = AfterPass(locks, keys);
    EXPECT_FALSE(locks.click);
}

TEST(MenuLocks, EscapeLockClearsOnlyWhenEscapeIsUp) {
    FakeKeys keys;
    MenuLocks locks = {false, true, false};
    keys.Press(SDLK_ESCAPE);
    locks = AfterPass(locks, keys);
    EXPECT_TRUE(locks.escape);
    keys.Release(SDLK_ESCAPE);
    keys.Press(SDLK_RETURN);
    locks = AfterPass(locks, keys);
    EXPECT_FALSE(locks.escape);
    EXPECT_FALSE(locks.click);
}

// A border whose every pixel tells its own column: 0x010000 * (column + 1) + row.
SurfacePtr MakeColumnBorder(int w, int h) {
    SurfacePtr border = MakeSurface(w, h);
    SDL_LockSurface(border.get());
    for (int y = 0; y < h; ++y) {
        Uint32* row =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(border->pixels) + y * border->pitch);
        for (int x = 0; x < w; ++x) {
            row[x] = 0x010000u * static_cast<Uint32>(x + 1) + static_cast<Uint32>(y);
        }
    }
    SDL_UnlockSurface(border.get());
    return border;
}

constexpr Uint32 kUntouched = 0x00ABCDEF;

// Draws a bar on a fresh target and returns, per target column of the bar's row span,
// the border column it shows (-1 untouched), checking every row on the way.
std::vector<int> DrawnColumns(int borderW, int barW, int targetW) {
    const int borderH = 3;
    const int barX = 2;
    const int barY = 1;
    SurfacePtr border = MakeColumnBorder(borderW, borderH);
    SurfacePtr target = MakeSurface(targetW, borderH + 2, kUntouched);
    TextStyle style = {};
    style.border = border.get();
    DrawBar(target.get(), &style, {barX, barY, static_cast<Uint16>(barW), 0});

    std::vector<int> columns;
    for (int x = 0; x < targetW; ++x) {
        EXPECT_EQ(PixelAt(target.get(), x, 0), kUntouched) << "above the bar, x " << x;
        EXPECT_EQ(PixelAt(target.get(), x, barY + borderH), kUntouched) << "below, x " << x;
        Uint32 top = PixelAt(target.get(), x, barY);
        if (top == kUntouched) {
            columns.push_back(-1);
            continue;
        }
        int column = static_cast<int>(top / 0x010000u) - 1;
        for (int y = 0; y < borderH; ++y) {
            EXPECT_EQ(PixelAt(target.get(), x, barY + y), 0x010000u * (column + 1) + y)
                << "x " << x << " row " << y;
        }
        columns.push_back(column);
    }
    return columns;
}

TEST(DrawBar, EvenWidthKeepsBothHalvesOfTheEnds) {
    // Border columns 0..9, bar 6 wide at x 2: columns 0 1 2 then 7 8 9.
    std::vector<int> expected = {-1, -1, 0, 1, 2, 7, 8, 9, -1, -1, -1, -1};
    EXPECT_EQ(DrawnColumns(10, 6, 12), expected);
}

TEST(DrawBar, OddWidthGivesTheExtraColumnToTheRightEnd) {
    std::vector<int> expected = {-1, -1, 0, 1, 6, 7, 8, -1, -1, -1};
    EXPECT_EQ(DrawnColumns(9, 5, 10), expected);
    std::vector<int> single = {-1, -1, 8, -1};
    EXPECT_EQ(DrawnColumns(9, 1, 4), single);
}

TEST(DrawBar, FullWidthIsTheWholeBorderAndZeroWidthNothing) {
    std::vector<int> whole = {-1, -1, 0, 1, 2, 3, 4, -1};
    EXPECT_EQ(DrawnColumns(5, 5, 8), whole);
    std::vector<int> none(8, -1);
    EXPECT_EQ(DrawnColumns(5, 0, 8), none);
}

TEST(DrawBar, WiderThanTheBorderDrawsTheBorderOnce) {
    std::vector<int> expected = {-1, -1, 0, 1, 2, 3, 4, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(DrawnColumns(5, 11, 14), expected);
}

TEST(DrawButton, LabelSitsHalfTheHeightDifferenceInside) {
    const Uint32 borderColour = 0x000000FF;
    const Uint32 glyphColour = 0x0000FF00;
    SurfacePtr border = MakeSurface(100, 41, borderColour);  // (41 - 32) / 2 = 4
    SurfacePtr capitals = MakeSurface(30 * 26, 32, glyphColour);
    SurfacePtr target = MakeSurface(200, 80, kUntouched);
    TextStyle style = {};
    style.border = border.get();
    style.abcbig = capitals.get();

    DrawButton(target.get(), &style, {10, 20, 100, 0}, "A");

    EXPECT_EQ(PixelAt(target.get(), 10, 20), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 13, 24), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 14, 23), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 14, 24), glyphColour);
    EXPECT_EQ(PixelAt(target.get(), 14 + 29, 24 + 31), glyphColour);
    EXPECT_EQ(PixelAt(target.get(), 14 + 30, 24), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 14, 24 + 32), borderColour);
    EXPECT_EQ(PixelAt(target.get(), 14, 20 + 41), kUntouched);
}

TEST(DrawMenuBar, DrawsTheWholeBorderAtColumn220WhateverX) {
    SurfacePtr border = MakeColumnBorder(30, 4);
    SurfacePtr target = MakeSurface(300, 20, kUntouched);
    TextStyle style = {};
    style.border = border.get();

    DrawMenuBar(target.get(), &style, {77, 9, 5, 5});

    EXPECT_EQ(PixelAt(target.get(), 219, 9), kUntouched);
    EXPECT_EQ(PixelAt(target.get(), 220, 9), 0x010000u);
    EXPECT_EQ(PixelAt(target.get(), 249, 12), 0x010000u * 30 + 3);
    EXPECT_EQ(PixelAt(target.get(), 250, 9), kUntouched);
    EXPECT_EQ(PixelAt(target.get(), 220, 13), kUntouched);
    EXPECT_EQ(PixelAt(target.get(), 77, 9), kUntouched);
}

TEST(DrawMenuBar, ReportsARefusedCopyAndGoesOn) {
    SurfacePtr border = MakeColumnBorder(30, 4);
    SurfacePtr target = MakeSurface(300, 20, kUntouched);
    TextStyle style = {};
    style.border = border.get();
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
