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
    Uint32 value = surface->format->BytesPerPixel == 1
                       ? row[x]
                       : reinterpret_cast<const Uint32*>(row)[x];
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
