// The two file formats behind ReadPictureBytes, and the size rules they share.
#pragma once

#include <string>

#include "platform/picture_reader.h"

// SDL 1.2 makes no surface wider or taller than this.
constexpr Sint64 kMaxPictureWidth = 16383, kMaxPictureHeight = 65535;
// Theme pictures are screen-sized; a bigger one is refused before its memory is taken.
constexpr Sint64 kMaxPixelBytes = Sint64{64} << 20;

// Sets w, h, bitsPerPixel and pitch as SDL 1.2 lays out such a surface, or says why
// there can be none. The pixels are the caller's to make room for.
bool LayOutPicture(Sint64 w, Sint64 h, int bitsPerPixel, PictureData* picture, std::string* error);

// Each reads a whole file that starts as its format does ("BM", "\x89PNG").
bool ReadBmp(const Uint8* data, size_t size, PictureData* picture, std::string* error);
bool ReadPng(const Uint8* data, size_t size, PictureData* picture, std::string* error);
