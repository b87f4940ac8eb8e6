// Shared pieces of the fuzz targets: fuzzer bytes as a file, owned surfaces, a small
// synthetic theme and glyph sheets, and a check that stops the run on a broken promise.
#pragma once

#include <SDL/SDL.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "config/assets.h"
#include "text/text.h"

// Reports what and aborts, so libFuzzer keeps the input, when ok is false.
void Require(bool ok, const char* what);

// True when every one of the fields has a terminator within its width.
struct TextField {
    const char* text;
    size_t width;
};
bool AllTerminated(std::initializer_list<TextField> fields);
#define FIELD(record, name)                  \
    TextField {                              \
        (record).name, sizeof((record).name) \
    }

// The input as the only content of an in-memory file; Path() names it for readers that
// open files by name. Nothing is written to disk, so parallel runs cannot collide.
class InputFile {
   public:
    InputFile(const uint8_t* data, size_t size);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    const char* Path() const { return path_; }

   private:
    int fd_;
    char path_[40];
};

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A 32-bit surface, or an 8-bit one with a grey palette, filled with colour.
SurfacePtr MakeSurface(int w, int h, Uint32 colour = 0, int depth = 32);

// An 800 x 600 window-less display surface and background, pictures for every piece of
// a match, and glyph sheets a few cells wide (blits past a sheet's edge are clipped).
struct FuzzTheme {
    SDL_Surface* screen;  // owned by SDL
    SurfacePtr background, pieces[4], sheep[4], shot, blood, explosion, results[4];
    SurfacePtr sheets[5];  // abcbig, abcsmall, specialchar, numbers, border
    ThemeAssets assets{};
    TextStyle style{};
};
const FuzzTheme& SharedTheme();
