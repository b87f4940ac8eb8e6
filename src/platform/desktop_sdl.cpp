// The parts of the platform that SDL 1.2 itself does on the desktop, Linux and Windows
// alike: its display, its blits with colour keys, alpha and palettes, its key table.
#include <SDL/SDL_mixer.h>

#include <cstring>

#include "platform/platform.h"

SDL_Surface* OpenDisplay(int width, int height, bool fullscreen) {
    return SDL_SetVideoMode(width, height, 0, fullscreen ? SDL_FULLSCREEN : 0);
}

void ClearScreen(SDL_Surface* screen) {
    SDL_FillRect(screen, nullptr, 0);
}

void ShowScreen(SDL_Surface* screen) {
    SDL_UpdateRect(screen, 0, 0, 0, 0);
}

int FirstPixelByte(SDL_Surface* picture) {
    if (picture->pixels == nullptr || picture->w == 0 || picture->h == 0) {
        return -1;
    }
    SDL_LockSurface(picture);
    const int first = static_cast<const Uint8*>(picture->pixels)[0];
    SDL_UnlockSurface(picture);
    return first;
}

void KeyPicture(SDL_Surface* picture, Uint32 key) {
    SDL_SetColorKey(picture, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
}

void BlendPicture(SDL_Surface* picture) {
    SDL_SetAlpha(picture, SDL_SRCALPHA | SDL_RLEACCEL, 255);
}

const SDL_Palette* PicturePalette(const SDL_Surface* picture) {
    const SDL_PixelFormat* format = picture != nullptr ? picture->format : nullptr;
    if (format == nullptr || format->BitsPerPixel != 8) {
        return nullptr;
    }
    return format->palette;
}

void SetPictureColours(SDL_Surface* picture, const SDL_Color* colours, int count) {
    SDL_SetColors(picture, const_cast<SDL_Color*>(colours), 0, count);
}

SDL_Surface* CopyPictureColumns(SDL_Surface* picture, int x, int w) {
    const SDL_PixelFormat* format = picture->format;
    SDL_Surface* copy =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, picture->h, format->BitsPerPixel, format->Rmask,
                             format->Gmask, format->Bmask, format->Amask);
    if (copy == nullptr) {
        return nullptr;
    }
    if (format->palette != nullptr) {
        SDL_SetColors(copy, format->palette->colors, 0, format->palette->ncolors);
    }
    // Locking gives a run-length encoded picture its pixels back for the copy.
    if (SDL_LockSurface(picture) < 0) {
        SDL_FreeSurface(copy);
        return nullptr;
    }
    const int bytes = format->BytesPerPixel;
    for (int y = 0; y < picture->h; ++y) {
        memcpy(static_cast<Uint8*>(copy->pixels) + y * copy->pitch,
               static_cast<const Uint8*>(picture->pixels) + y * picture->pitch + x * bytes,
               static_cast<size_t>(w) * bytes);
    }
    SDL_UnlockSurface(picture);
    const Uint32 rle = (picture->flags & SDL_RLEACCELOK) != 0 ? SDL_RLEACCEL : 0;
    SDL_SetAlpha(copy, (picture->flags & SDL_SRCALPHA) | rle, format->alpha);
    if ((picture->flags & SDL_SRCCOLORKEY) != 0) {
        SDL_SetColorKey(copy, SDL_SRCCOLORKEY | rle, format->colorkey);
    }
    return copy;
}

void FreePicture(SDL_Surface* picture) {
    SDL_FreeSurface(picture);
}

const Uint8* HeldKeyTable(int* count) {
    return SDL_GetKeyState(count);
}

TCPsocket OpenConnection(IPaddress* address) {
    return SDLNet_TCP_Open(address);
}

void PlaySoundOnChannel(int channel, Mix_Chunk* chunk) {
    Mix_PlayChannelTimed(channel, chunk, 0, -1);
}

void YieldWhileWaiting(Uint32 /*milliseconds*/) {
    // The desktop game waits by looking again at once: the frame's end is a busy wait,
    // and a socket wait has already waited inside SDL_net.
}
