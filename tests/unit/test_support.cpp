#include "test_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

InputSnapshot FakeKeys::Snapshot() const {
    InputSnapshot input;
    input.keys = held;
    input.keyCount = SDLK_LAST;
    input.mods = mods;
    input.mouseX = mouseX;
    input.mouseY = mouseY;
    input.buttons = buttons;
    return input;
}

SurfacePtr MakeSurface(int w, int h, Uint32 colour) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(surface, nullptr, colour);
    return SurfacePtr(surface);
}

SurfacePtr MakePalettedSurface(int w, int h, Uint8 fillIndex) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0);
    SDL_Color grey[256];
    for (int i = 0; i < 256; ++i) {
        grey[i].r = grey[i].g = grey[i].b = static_cast<Uint8>(i);
        grey[i].unused = 0;
    }
    SDL_SetColors(surface, grey, 0, 256);
    SDL_FillRect(surface, nullptr, fillIndex);
    return SurfacePtr(surface);
}

Uint32 PixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    Uint32 value =
        surface->format->BytesPerPixel == 1 ? row[x] : reinterpret_cast<const Uint32*>(row)[x];
    SDL_UnlockSurface(surface);
    return value;
}

TempDir::TempDir() {
    char pattern[] = "/tmp/meadow-test-XXXXXX";
    path_ = mkdtemp(pattern);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
}

TempDir::~TempDir() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
}

void TempDir::Write(const std::string& name, const std::string& content) const {
    std::filesystem::path file = std::filesystem::path(path_) / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

StderrCapture::StderrCapture() {
    char pattern[] = "/tmp/meadow-stderr-XXXXXX";
    int fd = mkstemp(pattern);
    file_ = pattern;
    fflush(stderr);
    saved_ = dup(fileno(stderr));
    dup2(fd, fileno(stderr));
    close(fd);
}

StderrCapture::~StderrCapture() {
    fflush(stderr);
    dup2(saved_, fileno(stderr));
    close(saved_);
    std::remove(file_.c_str());
}

std::string StderrCapture::Text() {
    fflush(stderr);
    std::ifstream in(file_, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

GameSettings MatchTestSettings() {
    GameSettings settings{};
    settings.speedslow = 6;
    settings.speedfast = 12;
    settings.shiftslow = 1;
    settings.speednormal = 12;
    settings.speedshift = 6;
    settings.sheepspeed = 3;
    settings.sheepcolor1 = 1;
    settings.sheepcolor2 = 2;
    settings.sheepmax = 20;
    settings.bloodtime = 300;
    settings.explotime = 20;
    settings.maxshots = 3;
    settings.shotspeed = 12;
    settings.exploanim = 5;
    settings.frameduration = 30;
    return settings;
}

static SurfacePtr MakeSized(PictureSize size) {
    return MakeSurface(size.w, size.h);
}

TestTheme::TestTheme(const TestThemeSizes& sizes)
    : cannon1(MakeSized(sizes.cannon1)),
      shield1(MakeSized(sizes.shield1)),
      cannon2(MakeSized(sizes.cannon2)),
      shield2(MakeSized(sizes.shield2)),
      sheep{MakeSized(sizes.sheep[0]), MakeSized(sizes.sheep[1]), MakeSized(sizes.sheep[2]),
            MakeSized(sizes.sheep[3])},
      shot(MakeSized(sizes.shot)),
      blood(MakeSized(sizes.blood)),
      explosion(MakeSized(sizes.explosion)),
      results{MakePalettedSurface(50, 20, 1), MakePalettedSurface(50, 20, 2),
              MakePalettedSurface(50, 20, 3), MakePalettedSurface(50, 20, 4)} {
    assets.cannon1 = cannon1.get();
    assets.shield1 = shield1.get();
    assets.cannon2 = cannon2.get();
    assets.shield2 = shield2.get();
    for (int i = 0; i < 4; ++i) {
        assets.sheeppictures[i] = sheep[i].get();
        assets.pictures[i] = results[i].get();
    }
    assets.shot = shot.get();
    assets.blood = blood.get();
    assets.explosion = explosion.get();
}

TestMatch::TestMatch(const GameSettings& settings, const TestThemeSizes& sizes) : theme(sizes) {
    MatchStatus status{};
    for (int i = 0; i < 4; ++i) {
        status.pictures[i] = theme.results[i].get();
    }
    match = MakeMatchState(&tables, settings, status);
    srand(1);
    SetupMatch(&match, ScreenSize{800, 600}, &theme.assets, 0);
}

void TestMatch::EmptyHerds() {
    for (auto& herd : match.herds) {
        for (Sprite& sheep : herd) {
            sheep.state = 0;
        }
    }
}
