#include "text/text.h"

#include <cstdio>

namespace {

Glyph LetterOrDigitGlyph(unsigned char c) {
    static const int kBigAdvance[26] = {25, 25, 25, 25, 25, 25, 25, 25, 10, 20, 25, 25, 30,
                                        25, 25, 20, 25, 25, 20, 20, 25, 25, 30, 25, 25, 25};
    static const int kSmallAdvance[26] = {20, 20, 20, 20, 20, 15, 20, 20, 10, 15, 20, 10, 25,
                                          20, 20, 20, 20, 15, 20, 15, 20, 20, 25, 20, 20, 20};
    if (c >= 'A' && c <= 'Z') {
        return {1, c - 'A', kBigAdvance[c - 'A']};
    }
    if (c >= 'a' && c <= 'z') {
        return {2, c - 'a', kSmallAdvance[c - 'a']};
    }
    if (c >= '1' && c <= '9') {
        return {4, c - '1', c == '1' ? 15 : 20};
    }
    if (c == '0') {
        return {4, 9, 20};
    }
    return {0, 0, kBlankAdvance};
}

struct SymbolGlyph {
    unsigned char byte;
    Glyph glyph;
};

const SymbolGlyph kSymbols[] = {
    {0xE4, {3, 0, 20}},  {0xC4, {3, 1, 20}},  {0xF6, {3, 2, 20}},  {0xD6, {3, 3, 20}},
    {0xFC, {3, 4, 20}},  {0xDC, {3, 5, 20}},  {0xDF, {3, 6, 20}},  {'?', {3, 7, 20}},
    {'+', {3, 8, 20}},   {'*', {3, 9, 20}},   {'#', {3, 10, 20}},  {'\'', {3, 11, 20}},
    {'-', {3, 12, 20}},  {'_', {3, 13, 20}},  {'.', {3, 14, 20}},  {':', {3, 15, 20}},
    {',', {3, 16, 20}},  {';', {3, 17, 20}},  {'<', {3, 18, 20}},  {'>', {3, 19, 20}},
    {0xB2, {3, 20, 20}}, {0xB3, {3, 21, 20}}, {'{', {3, 22, 15}},  {'[', {3, 23, 15}},
    {']', {3, 24, 15}},  {'}', {3, 25, 15}},  {'\\', {3, 26, 20}}, {'@', {3, 26, 30}},
    {'~', {3, 27, 20}},  {'!', {4, 10, 15}},  {'"', {4, 11, 15}},  {0xA7, {4, 12, 20}},
    {'$', {4, 13, 20}},  {'%', {4, 14, 30}},  {'&', {4, 15, 25}},  {'/', {4, 16, 20}},
    {'(', {4, 17, 15}},  {')', {4, 18, 15}},  {'=', {4, 19, 20}},
};

int MeasureOf(unsigned char byte) {
    Glyph glyph = GlyphOf(byte);
    return glyph.sheet == 0 ? kBlankMeasure : glyph.advance;
}

SDL_Surface* SheetOf(const TextStyle* style, int sheet) {
    switch (sheet) {
        case 1:
            return style->abcbig;
        case 2:
            return style->abcsmall;
        case 3:
            return style->specialchar;
        default:
            return style->numbers;
    }
}

}  // namespace

Glyph GlyphOf(unsigned char byte) {
    for (const SymbolGlyph& symbol : kSymbols) {
        if (symbol.byte == byte) {
            return symbol.glyph;
        }
    }
    return LetterOrDigitGlyph(byte);
}

void WrapText(char* text, int wrapWidth) {
    int measured[kTextMaxLength];
    int running = 0;
    for (int i = 0; i < kTextMaxLength && text[i] != '\0'; ++i) {
        if (running > wrapWidth && i >= 2 && measured[i - 2] == kBlankMeasure) {
            text[i - 2] = kLineBreak;
            running = 0;
        }
        measured[i] = MeasureOf(static_cast<unsigned char>(text[i]));
        running += measured[i];
    }
}

int DrawText(char* text, SDL_Surface* target, const TextStyle* style, SDL_Rect area) {
    WrapText(text, area.w);
    int penX = area.x;
    int penY = area.y;
    for (int i = 0; i < kTextMaxLength && text[i] != '\0'; ++i) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == kLineBreak) {
            penX = area.x;
            penY += kTextLineStep;
            continue;
        }
        Glyph glyph = GlyphOf(byte);
        if (glyph.sheet != 0) {
            SDL_Rect source = {static_cast<Sint16>(kGlyphCellWidth * glyph.cell), 0,
                               kGlyphCellWidth, kGlyphCellHeight};
            SDL_Rect destination = {static_cast<Sint16>(penX), static_cast<Sint16>(penY), 0, 0};
            if (SDL_BlitSurface(SheetOf(style, glyph.sheet), &source, target, &destination) < 0) {
                fprintf(stderr, "BlitSurface error: %s\n", SDL_GetError());
            }
        }
        penX = static_cast<Sint16>(penX + glyph.advance);
    }
    return 0;
}
