#include "test_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

SurfacePtr MakeSurface(int w, int h, Uint32 colour) {
    SurfacePtr surface(
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    SDL_FillRect(surface.get(), nullptr, colour);
    return surface;
}

SurfacePtr MakePalettedSurface(int w, int h, Uint8 index) {
    SurfacePtr surface(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0));
    SDL_Color grey[256];
    for (int i = 0; i < 256; ++i) {
        grey[i] = {Uint8(i), Uint8(i), Uint8(i), 0};
    }
    SDL_SetColors(surface.get(), grey, 0, 256);
    SDL_FillRect(surface.get(), nullptr, index);
    return surface;
}

Uint32 PixelAt(SDL_Surface* surface, int x, int y) {
    const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    return surface->format->BytesPerPixel == 1 ? row[x] : reinterpret_cast<const Uint32*>(row)[x];
}

TempDir::TempDir() {
    char pattern[] = "/tmp/meadow-test-XXXXXX";
    std::filesystem::current_path(path = mkdtemp(pattern));
}

TempDir::~TempDir() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(path);
}

void TempDir::Write(const std::string& name, const std::string& content) const {
    const std::filesystem::path file = std::filesystem::path(path) / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

KeyPressLater::KeyPressLater(SDLKey key, std::function<bool()> ready)
    : key(key), presser([key, ready] {
          for (int waited = 0; waited < 10000 && !ready(); waited += 5) {
              SDL_Delay(5);
          }
          SDL_GetKeyState(nullptr)[key] = 1;
      }) {}

KeyPressLater::~KeyPressLater() {
    presser.join();
    SDL_GetKeyState(nullptr)[key] = 0;
}

TestMatch::TestMatch(const GameSettings& settings, const TestThemeSizes& s) {
    SDL_Surface** slots[] = {&assets.cannon1, &assets.shield1, &assets.cannon2,  &assets.shield2,
                             &assets.shot,    &assets.blood,   &assets.explosion};
    const PictureSize sizes[] = {s.cannon1, s.shield1, s.cannon2,  s.shield2,
                                 s.shot,    s.blood,   s.explosion};
    for (int i = 0; i < 7; ++i) {
        owned[i] = MakeSurface(sizes[i].w, sizes[i].h);
        *slots[i] = owned[i].get();
    }
    for (int i = 0; i < 4; ++i) {
        owned[7 + i] = MakeSurface(s.sheep[i].w, s.sheep[i].h);
        owned[11 + i] = MakePalettedSurface(50, 20, Uint8(i));
        assets.sheeppictures[i] = owned[7 + i].get();
        assets.pictures[i] = owned[11 + i].get();
    }
    MatchStatus status{};
    std::copy_n(assets.pictures, 4, status.pictures);
    match = MakeMatchState(&tables, settings, status);
    srand(1);
    SetupMatch(&match, ScreenSize{800, 600}, &assets, 0);
}
