// The bounded text helpers, and DrawText's wrapping and drawing on sheets whose every
// cell has a colour of its own.

#include <climits>
#include <cstdio>
#include <vector>

#include "test_support.h"
#include "text/bounded_text.h"
#include "text/text.h"

// CopyText and AppendText cut to the field and terminate; FormatDecimal writes a sign.
TEST(BoundedText, CopyAppendAndFormatTruncateAndTerminate) {
    char field[5], number[12];
    const size_t copied = CopyText(field, "abcdefg");
    std::string seen = field;
    CopyText(field, "ab");
    const size_t appended = AppendText(field, "xyz");
    FormatDecimal(INT_MIN, number);
    EXPECT_EQ(seen + " " + field + " " + number + " " + Numbers(copied, appended),
              "abcd abxy -2147483648 4 4");
}

Uint32 CellColour(int sheet, int cell) {
    return Uint32(sheet * 0x320000 + cell * 0x800 + 0x140);
}

// Every text is drawn at (40, 20). A probe "x,y:sheet,cell" names the cell whose corner
// is at (x, y); "x,y:-" means nothing is drawn there. Glyphs advance by their own widths
// (A 25, b 20, @ 30, \ 20, 1 15), blanks and unknown bytes by 15, line breaks by 27
// rows back to x; cells are 30 x 32.
TEST(DrawText, WrapsInPlaceAndDrawsEachGlyphAtItsPen) {
    const std::string a59(59, 'a');
    const struct {
        std::string text;
        int w;
        std::string after;
        std::vector<std::string> probes;
    } cases[] = {
        {"", 800, "", {"40,20:-"}},
        {"Ab c", 800, "Ab c", {"40,20:1,0", "65,20:2,1", "99,20:-", "100,20:2,2", "40,52:-"}},
        {"@a\\b", 800, "@a\\b", {"40,20:3,26", "70,20:2,0", "90,20:3,26", "110,20:2,1"}},
        {"\xe9\x80x10", 800, "\xe9\x80x10", {"40,20:-", "70,20:2,23", "90,20:4,0", "105,20:4,9"}},
        {"ab|cd", 800, "ab|cd", {"40,47:2,2", "60,47:2,3"}},
        // Each blank breaks once the text has grown past w two bytes after it.
        {"ab cd ef", 50, "ab|cd|ef", {"40,20:2,0", "40,47:2,2", "60,74:2,5"}},
        {"a bc", 30, "a|bc", {"40,47:2,1", "60,47:2,2"}},
        {"a bc", 54, "a bc", {"40,60:-"}},    // reaching w is not passing it
        {"ab c", 30, "ab c", {"95,20:2,2"}},  // the text ends before its blank is tested
        {"abcdefghij", 50, "abcdefghij", {"220,20:2,9"}},
        // Only the first 100 bytes count: byte 120 stays a blank, byte 100 (at 820) is
        // not drawn.
        {"a" + a59 + " " + a59 + " " + a59,
         400,
         "a" + a59 + "|" + a59 + " " + a59,
         {"800,60:2,0", "830,60:-"}},
    };
    SurfacePtr sheets[4];
    for (int sheet = 0; sheet < 4; ++sheet) {
        sheets[sheet] = MakeSurface(28 * kGlyphCellWidth, kGlyphCellHeight);
        for (int cell = 0; cell < 28; ++cell) {
            SDL_Rect area = {Sint16(cell * kGlyphCellWidth), 0, kGlyphCellWidth, kGlyphCellHeight};
            SDL_FillRect(sheets[sheet].get(), &area, CellColour(sheet + 1, cell));
        }
    }
    const TextStyle style{sheets[0].get(), sheets[1].get(), sheets[2].get(), sheets[3].get(),
                          nullptr};
    for (const auto& c : cases) {
        SurfacePtr target = MakeSurface(900, 100);
        std::string buffer = c.text;
        for (int pass = 0; pass < 2; ++pass) {  // the second pass finds the breaks in place
            EXPECT_EQ(DrawText(buffer.data(), target.get(), &style, {40, 20, Uint16(c.w), 0}), 0);
            EXPECT_EQ(buffer, c.after);
        }
        for (const std::string& probe : c.probes) {
            int x, y, sheet = 0, cell = 0;
            sscanf(probe.c_str(), "%d,%d:%d,%d", &x, &y, &sheet, &cell);
            EXPECT_EQ(PixelAt(target.get(), x, y), sheet ? CellColour(sheet, cell) : 0)
                << c.text << " at " << probe;
        }
    }
}
