// Linux: SDL_image reads the pictures; the rest is SDL 1.2's own (desktop_sdl.cpp).
#include <SDL/SDL_image.h>

#include <cstdlib>

#include "platform/platform.h"

SDL_Surface* LoadPictureFile(const char* path) {
    return IMG_Load(path);
}

void SetEnvironmentDefault(const char* name, const char* value) {
    setenv(name, value, 0);
}
