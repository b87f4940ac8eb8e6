// The bitmap-font text renderer: four glyph sheets of 30 x 32 cells and a fixed
// Latin-1 character table, with in-place word wrapping.
#pragma once

#include <SDL/SDL.h>

struct TextStyle {
    SDL_Surface* abcbig;       // sheet 1: capital letters
    SDL_Surface* abcsmall;     // sheet 2: small letters
    SDL_Surface* specialchar;  // sheet 3: umlauts, sharp s, punctuation, brackets
    SDL_Surface* numbers;      // sheet 4: digits and the shifted digit row
    SDL_Surface* border;       // the menu bar picture; never a glyph sheet
};

constexpr int kGlyphCellWidth = 30;
constexpr int kGlyphCellHeight = 32;
constexpr int kTextLineStep = 27;
constexpr int kBlankMeasure = 14;  // a blank's width when measuring, and the break mark
constexpr int kBlankAdvance = 15;  // a blank's pen advance when drawing
constexpr char kLineBreak = '|';
constexpr int kTextMaxLength = 100;  // bytes measured and drawn; the rest is ignored

struct Glyph {
    int sheet;    // 1..4, or 0 for a blank (draws nothing)
    int cell;     // cell number within the sheet
    int advance;  // pen advance in pixels
};

// The glyph of one byte; blanks and "|" have sheet 0.
Glyph GlyphOf(unsigned char byte);

// The measuring pass: replaces blanks by "|" where the running width passes wrapWidth.
// Only the first kTextMaxLength bytes are looked at.
void WrapText(char* text, int wrapWidth);

// Draws text at area.x, area.y, wrapping at area.w (area.h is ignored). The text must
// be writable: inserted line breaks stay in the caller's buffer. Always returns 0.
int DrawText(char* text, SDL_Surface* target, const TextStyle* style, SDL_Rect area);
