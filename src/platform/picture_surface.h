// SDL 1.2 surfaces from our own picture reader, for a target whose LoadPictureFile has
// no SDL_image to call.
#pragma once

#include <SDL/SDL.h>

#include "platform/picture_reader.h"

// The surface SDL_image would have made of the same file; null with SDL's error set.
SDL_Surface* SurfaceFromPicture(const PictureData& picture);

// ReadPicture and SurfaceFromPicture; null with SDL's error set to the reason.
SDL_Surface* ReadPictureSurface(const char* path);
