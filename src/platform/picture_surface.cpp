// Made as SDL_image makes its surfaces, so that SDL fills in the same defaults: the same
// SDL_CreateRGBSurface call, then the key, then the palette written in place.
#include "platform/picture_surface.h"

#include <algorithm>
#include <cstring>

SDL_Surface* SurfaceFromPicture(const PictureData& picture) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, picture.w, picture.h, picture.bitsPerPixel,
                             picture.rmask, picture.gmask, picture.bmask, picture.amask);
    if (surface == nullptr) {
        return nullptr;
    }
    const size_t rowBytes = static_cast<size_t>(picture.w) * surface->format->BytesPerPixel;
    if (rowBytes > static_cast<size_t>(picture.pitch) ||
        picture.pixels.size() < static_cast<size_t>(picture.pitch) * picture.h) {
        SDL_FreeSurface(surface);
        SDL_SetError("picture data smaller than its size");
        return nullptr;
    }
    if (picture.keyed) {
        SDL_SetColorKey(surface, SDL_SRCCOLORKEY, picture.key);
    }
    SDL_Palette* palette = surface->format->palette;
    if (palette != nullptr && picture.colourCount > 0) {
        // SDL_image sets the length and the colours of the palette SDL made in place, and
        // leaves the colours the file does not give as they are; SDL_SetColors would do
        // more than that.
        palette->ncolors = std::min(palette->ncolors, picture.colourCount);
        const int given = std::min(palette->ncolors, picture.fileColours);
        memcpy(palette->colors, picture.colours, sizeof(SDL_Color) * given);
    }
    for (int y = 0; y < picture.h; ++y) {
        memcpy(static_cast<Uint8*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
               picture.pixels.data() + static_cast<size_t>(y) * picture.pitch, rowBytes);
    }
    return surface;
}

SDL_Surface* ReadPictureSurface(const char* path) {
    PictureData picture;
    std::string error;
    if (!ReadPicture(path, &picture, &error)) {
        SDL_SetError("%s", error.c_str());
        return nullptr;
    }
    return SurfaceFromPicture(picture);
}
