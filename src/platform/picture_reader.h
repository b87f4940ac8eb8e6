// Our own picture reader, for the targets that have no SDL_image: it decodes a BMP or a
// PNG into what SDL_image's surface of the same file would hold, so the game sees the
// same pixel format, palette, key and pixels as on Linux. Decoding only: it makes no SDL
// surface (picture_surface.h does, for SDL 1.2) and uses nothing of SDL but its types.
#pragma once

#include <SDL/SDL.h>

#include <cstddef>
#include <string>
#include <vector>

struct PictureData {
    int w = 0, h = 0, bitsPerPixel = 0;
    // The bytes from one row's start to the next, as SDL 1.2 lays out a surface of w.
    int pitch = 0;
    // The masks SDL_image asks SDL_CreateRGBSurface for. SDL chooses its own red, green
    // and blue when all three are 0, and gives the surface SDL_SRCALPHA when amask is not.
    Uint32 rmask = 0, gmask = 0, bmask = 0, amask = 0;
    // Palette pictures: the palette's length, and how many of its leading colours the
    // file sets; SDL_image leaves the others as SDL made them.
    int colourCount = 0, fileColours = 0;
    SDL_Color colours[256] = {};
    // A colour key that SDL_image sets itself (a PNG's tRNS chunk).
    bool keyed = false;
    Uint32 key = 0;
    // h rows of pitch bytes, the top row first.
    std::vector<Uint8> pixels;
};

// Reads a BMP or PNG file, told apart by its first bytes; false with a short reason in
// *error.
bool ReadPicture(const char* path, PictureData* picture, std::string* error);

// The same for a picture file's contents already in memory.
bool ReadPictureBytes(const Uint8* data, size_t size, PictureData* picture, std::string* error);
