#include "fuzz_support.h"

#include <sanitizer/common_interface_defs.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

void Require(bool ok, const char* what) {
    if (!ok) {
        // The targets run with the game's standard error closed; this goes where the
        // sanitizer and libFuzzer reports go.
        __sanitizer_report_error_summary(what);
        abort();
    }
}

const char* InputPath(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("fuzz-input", 0);
    // Each open of /proc/self/fd/N has its own position, starting at byte 0.
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    Require(ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size),
            "in-memory input file");
    return path.c_str();
}

namespace {

SDL_Surface* MakeSurface(int w, int h, int depth = 32) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, depth, 0, 0, 0, 0);
}

FuzzTheme BuildTheme() {
    // Match drawing updates the display surface, so there must be one: a window-less one.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Require(SDL_Init(SDL_INIT_VIDEO) == 0, "SDL_Init");
    FuzzTheme theme{};
    theme.screen = SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE);
    Require(theme.screen != nullptr, "video mode");
    theme.background = MakeSurface(800, 600);
    ThemeAssets& assets = theme.assets;
    assets.cannon1 = assets.cannon2 = MakeSurface(40, 30);
    assets.shield1 = assets.shield2 = MakeSurface(60, 10);
    std::fill_n(assets.sheeppictures, 4, MakeSurface(20, 16));
    std::fill_n(assets.pictures, 4, MakeSurface(50, 20, 8));  // result pictures have a palette
    assets.shot = MakeSurface(4, 8);
    assets.blood = MakeSurface(10, 10);
    assets.explosion = MakeSurface(100, 20);
    SDL_Surface* sheet = MakeSurface(3 * kGlyphCellWidth, kGlyphCellHeight);
    theme.style = TextStyle{sheet, sheet, sheet, sheet, sheet};
    return theme;
}

}  // namespace

const FuzzTheme& SharedTheme() {
    static const FuzzTheme theme = BuildTheme();
    return theme;
}

void DealMatch(MatchTables* tables, MatchState* match, int maxshots) {
    GameSettings settings;
    ChosenFiles chosen;
    ReadSettingsFile(InputPath(nullptr, 0), &settings, &chosen);
    settings.maxshots = maxshots;
    MatchStatus status{};
    const ThemeAssets& assets = SharedTheme().assets;
    std::copy_n(assets.pictures, 4, status.pictures);
    *match = MakeMatchState(tables, settings, status);
    srand(1);
    SetupMatch(match, ScreenSize{800, 600}, &assets, 0);
}
