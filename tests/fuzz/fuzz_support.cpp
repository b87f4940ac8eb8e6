#include "fuzz_support.h"

#include <sanitizer/common_interface_defs.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/bounded_text.h"

void Require(bool ok, const char* what) {
    if (!ok) {
        // The targets run with the game's standard error closed; this goes where the
        // sanitizer and libFuzzer reports go.
        char message[120];
        CopyText(message, "broken promise: ");
        AppendText(message, what);
        __sanitizer_report_error_summary(message);
        abort();
    }
}

bool AllTerminated(std::initializer_list<TextField> fields) {
    for (const TextField& field : fields) {
        if (memchr(field.text, '\0', field.width) == nullptr) {
            return false;
        }
    }
    return true;
}

InputFile::InputFile(const uint8_t* data, size_t size) : fd_(memfd_create("fuzz-input", 0)) {
    Require(fd_ >= 0 && write(fd_, data, size) == static_cast<ssize_t>(size), "memfd");
    // Opening /proc/self/fd/N gives a fresh file position, so readers start at byte 0.
    char number[16];
    FormatDecimal(fd_, number);
    CopyText(path_, "/proc/self/fd/");
    AppendText(path_, number);
}

InputFile::~InputFile() {
    close(fd_);
}

SurfacePtr MakeSurface(int w, int h, Uint32 colour, int depth) {
    SDL_Surface* surface =
        depth == 8 ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0)
                   : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    Require(surface != nullptr, "surface");
    if (depth == 8) {
        SDL_Color grey[256];
        for (int i = 0; i < 256; ++i) {
            grey[i] = SDL_Color{Uint8(i), Uint8(i), Uint8(i), 0};
        }
        SDL_SetColors(surface, grey, 0, 256);
    }
    SDL_FillRect(surface, nullptr, colour);
    return SurfacePtr(surface);
}

static FuzzTheme BuildTheme() {
    // Match drawing updates the display surface, so there must be one: a window-less one.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Require(SDL_Init(SDL_INIT_VIDEO) == 0, "SDL_Init");
    atexit(SDL_Quit);
    FuzzTheme theme;
    theme.screen = SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE);
    Require(theme.screen != nullptr, "video mode");
    theme.background = MakeSurface(800, 600, 0x336633);
    const int pieceSizes[4][2] = {{40, 30}, {60, 10}, {44, 28}, {64, 12}};
    for (int i = 0; i < 4; ++i) {
        theme.pieces[i] = MakeSurface(pieceSizes[i][0], pieceSizes[i][1], 0x808080);
        theme.sheep[i] = MakeSurface(20 + i, 16, 0xFFFFFF);
        theme.results[i] = MakeSurface(50, 20, i + 1, 8);
        theme.assets.pictures[i] = theme.results[i].get();
        theme.assets.sheeppictures[i] = theme.sheep[i].get();
    }
    theme.shot = MakeSurface(4, 8, 0xFFFF00);
    theme.blood = MakeSurface(10, 10, 0xFF0000);
    theme.explosion = MakeSurface(100, 20, 0xFF8000);  // a 20-frame strip of 5-pixel frames
    theme.assets.cannon1 = theme.pieces[0].get();
    theme.assets.shield1 = theme.pieces[1].get();
    theme.assets.cannon2 = theme.pieces[2].get();
    theme.assets.shield2 = theme.pieces[3].get();
    theme.assets.shot = theme.shot.get();
    theme.assets.blood = theme.blood.get();
    theme.assets.explosion = theme.explosion.get();
    theme.assets.background = theme.background.get();
    SDL_Surface** sheetFields[5] = {&theme.style.abcbig, &theme.style.abcsmall,
                                    &theme.style.specialchar, &theme.style.numbers,
                                    &theme.style.border};
    for (int i = 0; i < 5; ++i) {
        theme.sheets[i] = MakeSurface(3 * kGlyphCellWidth, kGlyphCellHeight, 0x10 * (i + 1));
        *sheetFields[i] = theme.sheets[i].get();
    }
    return theme;
}

const FuzzTheme& SharedTheme() {
    static const FuzzTheme theme = BuildTheme();
    return theme;
}
