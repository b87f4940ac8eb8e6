// DrawText with an arbitrary text and area on a small surface. The first six bytes are
// the area's x, y and wrap width; the rest is the text, which is terminated only when
// it is shorter than the renderer's limit, so a longer one must not be read past it.
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) {
        return 0;
    }
    auto read16 = [data](int at) { return static_cast<Uint16>(data[at] | data[at + 1] << 8); };
    SDL_Rect area = {static_cast<Sint16>(read16(0)), static_cast<Sint16>(read16(2)), read16(4), 0};
    std::vector<char> text(data + 6, data + size);
    if (text.size() <= static_cast<size_t>(kTextMaxLength)) {
        text.push_back('\0');
    }
    const std::vector<char> original = text;
    static SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 48, 32, 0, 0, 0, 0);
    Require(DrawText(text.data(), target, &SharedTheme().style, area) == 0, "result not 0");
    for (size_t i = 0; i < text.size(); ++i) {
        // Wrapping only ever turns a blank (a byte without a glyph) into a line break.
        const bool blank = GlyphOf(static_cast<unsigned char>(original[i])).sheet == 0;
        Require(text[i] == original[i] || (text[i] == kLineBreak && blank), "glyph overwritten");
    }
    const std::vector<char> wrapped = text;
    DrawText(text.data(), target, &SharedTheme().style, area);
    Require(text == wrapped, "a second draw wrapped again");
    return 0;
}
