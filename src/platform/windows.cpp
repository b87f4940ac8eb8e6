// Windows: our own picture reader stands in for SDL_image; the rest is SDL 1.2's own
// (desktop_sdl.cpp).
#include <cstdlib>

#include "platform/picture_surface.h"
#include "platform/platform.h"

SDL_Surface* LoadPictureFile(const char* path) {
    return ReadPictureSurface(path);
}

void SetEnvironmentDefault(const char* name, const char* value) {
    if (getenv(name) == nullptr) {
        _putenv_s(name, value);
    }
}
