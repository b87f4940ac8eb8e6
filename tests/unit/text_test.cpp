#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_support.h"
#include "text/text.h"

namespace {

// Every cell of every sheet is filled with its own colour, so a pixel of the target
// tells which glyph was drawn there.
Uint32 CellColour(int sheet, int cell) {
    return (static_cast<Uint32>(sheet * 50) << 16) | (static_cast<Uint32>(cell * 8 + 1) << 8) |
           0x40;
}

SurfacePtr MakeSheet(int sheet, int cells) {
    SurfacePtr surface = MakeSurface(cells * kGlyphCellWidth, kGlyphCellHeight);
    for (int cell = 0; cell < cells; ++cell) {
        SDL_Rect area = {static_cast<Sint16>(cell * kGlyphCellWidth), 0, kGlyphCellWidth,
                         kGlyphCellHeight};
        SDL_FillRect(surface.get(), &area, CellColour(sheet, cell));
    }
    return surface;
}

class DrawTextTest : public testing::Test {
   protected:
    SurfacePtr big = MakeSheet(1, 26);
    SurfacePtr small = MakeSheet(2, 26);
    SurfacePtr special = MakeSheet(3, 28);
    SurfacePtr numbers = MakeSheet(4, 20);
    SurfacePtr target = MakeSurface(800, 600);
    TextStyle style{big.get(), small.get(), special.get(), numbers.get(), nullptr};

    std::string Draw(const std::string& text, int x, int y, int w) {
        char buffer[256] = {};
        memcpy(buffer, text.data(), text.size());
        SDL_Rect area = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                         40};
        EXPECT_EQ(DrawText(buffer, target.get(), &style, area), 0);
        return buffer;
    }
    Uint32 At(int x, int y) { return PixelAt(target.get(), x, y); }
};

}  // namespace

TEST(GlyphTable, CoversEveryGroupOfTheCharacterTable) {
    EXPECT_EQ(GlyphOf('A').sheet, 1);
    EXPECT_EQ(GlyphOf('I').advance, 10);
    EXPECT_EQ(GlyphOf('W').advance, 30);
    EXPECT_EQ(GlyphOf('z').cell, 25);
    EXPECT_EQ(GlyphOf('m').advance, 25);
    EXPECT_EQ(GlyphOf('1').cell, 0);
    EXPECT_EQ(GlyphOf('1').advance, 15);
    EXPECT_EQ(GlyphOf('0').cell, 9);
    EXPECT_EQ(GlyphOf('=').cell, 19);
    EXPECT_EQ(GlyphOf('%').advance, 30);
    EXPECT_EQ(GlyphOf(0xA7).sheet, 4);  // section sign
    EXPECT_EQ(GlyphOf(0xC4).cell, 1);   // A umlaut
    EXPECT_EQ(GlyphOf(0xDF).cell, 6);   // sharp s
    EXPECT_EQ(GlyphOf(0xB3).cell, 21);  // superscript three
    EXPECT_EQ(GlyphOf('~').cell, 27);
    EXPECT_EQ(GlyphOf('{').advance, 15);
    for (int blank :
         std::initializer_list<int>{' ', '^', '`', '\t', '\r', '\n', '|', 0xE9, 0x80, 0xFF}) {
        EXPECT_EQ(GlyphOf(static_cast<unsigned char>(blank)).sheet, 0) << blank;
    }
}

TEST_F(DrawTextTest, EmptyTextDrawsNothing) {
    Draw("", 10, 10, 800);
    EXPECT_EQ(At(10, 10), 0u);
}

TEST_F(DrawTextTest, GlyphsAdvanceByTheirWidthAndBlanksByFifteen) {
    Draw("Ab c", 100, 50, 800);
    EXPECT_EQ(At(100, 50), CellColour(1, 0));
    EXPECT_EQ(At(125, 50), CellColour(2, 1));
    EXPECT_EQ(At(125 + 20 + 15, 81), CellColour(2, 2));
    EXPECT_EQ(At(100, 82), 0u);  // cells are 32 rows high
}

TEST_F(DrawTextTest, AtSignAndBackslashShareACellButNotTheAdvance) {
    Draw("@a\\b", 0, 0, 800);
    EXPECT_EQ(At(0, 0), CellColour(3, 26));
    EXPECT_EQ(At(30, 0), CellColour(2, 0));
    EXPECT_EQ(At(50, 0), CellColour(3, 26));
    EXPECT_EQ(At(70, 0), CellColour(2, 1));
}

TEST_F(DrawTextTest, UnknownLatin1BytesAreBlanks) {
    Draw("\xe9\x80x", 0, 0, 800);
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(30, 0), CellColour(2, 23));
}

TEST_F(DrawTextTest, ExplicitBreakStartsALine27PixelsLower) {
    Draw("ab|cd", 40, 20, 800);
    EXPECT_EQ(At(40, 47), CellColour(2, 2));
    EXPECT_EQ(At(60, 47), CellColour(2, 3));
}

TEST_F(DrawTextTest, WrapsAtBlanksInPlaceAndKeepsTheBreaks) {
    EXPECT_EQ(Draw("ab cd ef", 10, 10, 50), "ab|cd|ef");
    EXPECT_EQ(At(10, 10), CellColour(2, 0));
    EXPECT_EQ(At(10, 37), CellColour(2, 2));
    EXPECT_EQ(At(30, 64), CellColour(2, 5));
    // Drawing the wrapped text again changes nothing.
    char again[] = "ab|cd|ef";
    SDL_Rect area = {10, 10, 50, 0};
    DrawText(again, target.get(), &style, area);
    EXPECT_STREQ(again, "ab|cd|ef");
}

TEST_F(DrawTextTest, TheBlankTwoBackIsTestedOnePositionAtATime) {
    EXPECT_EQ(Draw("a bc", 0, 0, 30), "a|bc");
    EXPECT_EQ(At(0, 27), CellColour(2, 1));
    EXPECT_EQ(At(20, 27), CellColour(2, 2));
}

TEST_F(DrawTextTest, WordsAreNeverSplitAndShortTextsStayUnchanged) {
    EXPECT_EQ(Draw("abcdefghij", 0, 0, 50), "abcdefghij");
    EXPECT_EQ(At(180, 0), CellColour(2, 9));
    EXPECT_EQ(Draw("ab cd", 0, 100, 200), "ab cd");
}

TEST_F(DrawTextTest, TextsLongerThanTheLimitStopAtTheLimit) {
    std::string text(150, 'a');
    text[60] = ' ';
    text[120] = ' ';  // beyond the limit: never turned into a break
    std::string result = Draw(text, 0, 0, 400);
    EXPECT_EQ(result[120], ' ');
    EXPECT_EQ(result.size(), 150u);
    // Only the first 100 bytes are drawn: the line after the break at byte 60 ends at byte 99.
    EXPECT_EQ(At(38 * 20, 50), CellColour(2, 0));
    EXPECT_EQ(At(795, 50), 0u);
}
