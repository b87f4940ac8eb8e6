#include "config/assets.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace {

void ApplyTreatment(SDL_Surface* surface, Treatment treatment) {
    switch (treatment) {
        case Treatment::Plain:
            break;
        case Treatment::Keyed: {
            // The key is the first byte of the pixel data: for an 8-bit picture, the
            // palette index of its top-left pixel.
            const int key = FirstPixelByte(surface);
            if (key >= 0) {
                KeyPicture(surface, static_cast<Uint32>(key));
            }
            break;
        }
        case Treatment::Alpha:
            // A palette picture has no alpha of its own, and surface alpha 255 draws it
            // opaque; SDL 1.2 on SDL 2 would draw it as nothing, so it stays a plain copy.
            if (PicturePalette(surface) == nullptr) {
                BlendPicture(surface);
            }
            break;
    }
}

SDL_Surface* LoadListed(const char* path, Treatment treatment, ThemeAssets* assets) {
    SDL_Surface* surface = LoadImage(path, treatment);
    if (assets->surfacecount < kSurfaceListCapacity) {
        assets->surfacelist[assets->surfacecount++] = surface;
    }
    return surface;
}

Mix_Chunk* LoadSound(const char* path) {
    SDL_RWops* stream = SDL_RWFromFile(path, "rb");
    if (stream == nullptr) {
        return nullptr;
    }
    return Mix_LoadWAV_RW(stream, 1);
}

}  // namespace

SDL_Surface* LoadImage(const char* path, Treatment treatment) {
    SDL_Surface* surface = LoadPictureFile(path);
    if (surface == nullptr) {
        fprintf(stderr, "Couldn't load %s: %s\n", path, SDL_GetError());
        exit(1);
    }
    ApplyTreatment(surface, treatment);
    return surface;
}

void LoadThemeAssets(const ThemeFileNames* names, ThemeAssets* assets) {
    assets->surfacecount = 0;
    assets->background = LoadListed(names->background, Treatment::Plain, assets);
    assets->cannon1 = LoadListed(names->cannon1, Treatment::Keyed, assets);
    assets->cannon2 = LoadListed(names->cannon2, Treatment::Keyed, assets);
    assets->shield1 = LoadListed(names->shield1, Treatment::Keyed, assets);
    assets->shield2 = LoadListed(names->shield2, Treatment::Keyed, assets);
    assets->shot = LoadListed(names->shot, Treatment::Keyed, assets);
    assets->blood = LoadListed(names->blood, Treatment::Keyed, assets);
    assets->explosion = LoadListed(names->explosion, Treatment::Alpha, assets);
    assets->sheeppictures[0] = LoadListed(names->sheeplw, Treatment::Keyed, assets);
    assets->sheeppictures[1] = LoadListed(names->sheeplb, Treatment::Keyed, assets);
    assets->sheeppictures[2] = LoadListed(names->sheeprw, Treatment::Keyed, assets);
    assets->sheeppictures[3] = LoadListed(names->sheeprb, Treatment::Keyed, assets);
    assets->pictures[kSplashscreen] = LoadListed(names->splashscreen, Treatment::Plain, assets);
    assets->pictures[kSuddenDeath] = LoadListed(names->suddendeath, Treatment::Keyed, assets);
    assets->pictures[kWinner] = LoadListed(names->winner, Treatment::Keyed, assets);
    assets->pictures[kLoser] = LoadListed(names->loser, Treatment::Keyed, assets);
    assets->pictures[kDraw] = LoadListed(names->draw, Treatment::Keyed, assets);

    assets->sounds[kShotSound] = LoadSound(names->shotsound);
    assets->sounds[kExplodeSound] = LoadSound(names->explodesound);
    assets->sounds[kSheepSound1] = LoadSound(names->sheepsound1);
    assets->sounds[kSheepSound2] = LoadSound(names->sheepsound2);
    assets->sounds[kSheepSound3] = LoadSound(names->sheepsound3);
}

void LoadFontSheets(const ThemeFileNames* names, ThemeAssets* assets, TextStyle* style) {
    style->abcbig = LoadListed(names->abcbig, Treatment::Keyed, assets);
    style->abcsmall = LoadListed(names->abcsmall, Treatment::Keyed, assets);
    style->specialchar = LoadListed(names->specialchar, Treatment::Keyed, assets);
    style->numbers = LoadListed(names->numbers, Treatment::Keyed, assets);
    style->border = LoadListed(names->border, Treatment::Plain, assets);
}

void FreeThemeAssets(ThemeAssets* assets) {
    for (int i = assets->surfacecount - 1; i >= 0; --i) {
        FreePicture(assets->surfacelist[i]);
        assets->surfacelist[i] = nullptr;
    }
    assets->surfacecount = 0;
    for (Mix_Chunk*& sound : assets->sounds) {
        if (sound != nullptr) {
            Mix_FreeChunk(sound);
            sound = nullptr;
        }
    }
}
