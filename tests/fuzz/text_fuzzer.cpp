// DrawText with an arbitrary text and area on a small surface. The first six bytes are
// the area's x, y and wrap width; the rest is the text, which is terminated only when
// it is shorter than the renderer's limit, so a longer one must not be read past it.
#include <cstring>
#include <vector>

#include "fuzz_support.h"

namespace {

Uint16 Read16(const uint8_t* bytes) {
    return static_cast<Uint16>(bytes[0] | bytes[1] << 8);
}

// Wrapping may only turn blanks (bytes without a glyph) into line breaks.
bool OnlyBlanksBroken(const std::vector<char>& before, const std::vector<char>& after) {
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i] &&
            (after[i] != kLineBreak || GlyphOf(static_cast<unsigned char>(before[i])).sheet != 0)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) {
        return 0;
    }
    SDL_Rect area;
    area.x = static_cast<Sint16>(Read16(data));
    area.y = static_cast<Sint16>(Read16(data + 2));
    area.w = Read16(data + 4);
    area.h = 0;
    std::vector<char> text(data + 6, data + size);
    if (text.size() <= static_cast<size_t>(kTextMaxLength)) {
        text.push_back('\0');
    }
    const std::vector<char> original = text;
    static SurfacePtr target = MakeSurface(64, 48);
    const FuzzTheme& theme = SharedTheme();
    Require(DrawText(text.data(), target.get(), &theme.style, area) == 0, "result not 0");
    Require(OnlyBlanksBroken(original, text), "wrapping changed a glyph");
    const std::vector<char> wrapped = text;
    DrawText(text.data(), target.get(), &theme.style, area);
    Require(text == wrapped, "a second draw wrapped again");
    return 0;
}
