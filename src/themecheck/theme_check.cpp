#include "themecheck/theme_check.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "config/line_reader.h"
#include "config/settings.h"
#include "platform/platform.h"
#include "text/text.h"

namespace {

constexpr int kDefaultExploanim = 20;
constexpr size_t kPathCapacity = sizeof(ThemeFileNames::background);

using FilePtr = std::unique_ptr<FILE, FileCloser>;

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { FreePicture(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// What the game does with a picture, which decides the rules it has to meet.
enum class Role { Background, Splash, Piece, Sheep, Explosion, Result, GlyphSheet, Border };

using PathField = char (ThemeFileNames::*)[kPathCapacity];

struct PictureEntry {
    const char* key;
    PathField field;
    Role role;
    int sheet;  // glyph sheets: the sheet number of the font's character table
};

const PictureEntry kPictures[] = {
    {"background", &ThemeFileNames::background, Role::Background, 0},
    {"cannon1", &ThemeFileNames::cannon1, Role::Piece, 0},
    {"cannon2", &ThemeFileNames::cannon2, Role::Piece, 0},
    {"shield1", &ThemeFileNames::shield1, Role::Piece, 0},
    {"shield2", &ThemeFileNames::shield2, Role::Piece, 0},
    {"sheeplw", &ThemeFileNames::sheeplw, Role::Sheep, 0},
    {"sheeprw", &ThemeFileNames::sheeprw, Role::Sheep, 0},
    {"sheeplb", &ThemeFileNames::sheeplb, Role::Sheep, 0},
    {"sheeprb", &ThemeFileNames::sheeprb, Role::Sheep, 0},
    {"shot", &ThemeFileNames::shot, Role::Piece, 0},
    {"blood", &ThemeFileNames::blood, Role::Piece, 0},
    {"explosion", &ThemeFileNames::explosion, Role::Explosion, 0},
    {"suddendeath", &ThemeFileNames::suddendeath, Role::Result, 0},
    {"splashscreen", &ThemeFileNames::splashscreen, Role::Splash, 0},
    {"winner", &ThemeFileNames::winner, Role::Result, 0},
    {"loser", &ThemeFileNames::loser, Role::Result, 0},
    {"draw", &ThemeFileNames::draw, Role::Result, 0},
    {"abcbig", &ThemeFileNames::abcbig, Role::GlyphSheet, 1},
    {"abcsmall", &ThemeFileNames::abcsmall, Role::GlyphSheet, 2},
    {"specialchar", &ThemeFileNames::specialchar, Role::GlyphSheet, 3},
    {"numbers", &ThemeFileNames::numbers, Role::GlyphSheet, 4},
    {"border", &ThemeFileNames::border, Role::Border, 0},
};

const struct {
    const char* key;
    PathField field;
} kSounds[] = {
    {"sheepsound1", &ThemeFileNames::sheepsound1},   {"sheepsound2", &ThemeFileNames::sheepsound2},
    {"sheepsound3", &ThemeFileNames::sheepsound3},   {"shotsound", &ThemeFileNames::shotsound},
    {"explodesound", &ThemeFileNames::explodesound},
};

std::string Size(const SDL_Surface& picture) {
    return std::to_string(picture.w) + " x " + std::to_string(picture.h);
}

// Cells a glyph sheet needs: one past the highest cell the character table uses on it.
int CellsOfSheet(int sheet) {
    int cells = 0;
    for (int byte = 0; byte < 256; ++byte) {
        Glyph glyph = GlyphOf(static_cast<unsigned char>(byte));
        if (glyph.sheet == sheet) {
            cells = std::max(cells, glyph.cell + 1);
        }
    }
    return cells;
}

// The size rules of one picture, as the game's placement and drawing rely on them.
// Returns the problem, or an empty text.
std::string SizeProblem(const PictureEntry& entry, const SDL_Surface& picture, int exploanim) {
    const bool fitsScreen = picture.w <= kScreenWidth && picture.h <= kScreenHeight;
    switch (entry.role) {
        case Role::Background:
            if (picture.w < kScreenWidth || picture.h < kScreenHeight) {
                return Size(picture) + " is smaller than the 800 x 600 screen";
            }
            return "";
        case Role::Sheep:
            if (picture.h >= kSheepStripHeight) {
                return std::to_string(picture.h) +
                       " pixels high: sheep must be less than 80 pixels high";
            }
            if (picture.w >= kScreenWidth) {
                return std::to_string(picture.w) +
                       " pixels wide: sheep must be narrower than the 800-pixel screen";
            }
            return "";
        case Role::Explosion:
            if (picture.w % exploanim != 0) {
                return "strip width " + std::to_string(picture.w) +
                       " is not a multiple of exploanim " + std::to_string(exploanim);
            }
            return "";
        case Role::GlyphSheet: {
            const int cells = CellsOfSheet(entry.sheet);
            if (picture.w < cells * kGlyphCellWidth || picture.h < kGlyphCellHeight) {
                return Size(picture) + " is too small for " + std::to_string(cells) +
                       " cells of 30 x 32 (needs " + std::to_string(cells * kGlyphCellWidth) +
                       " x 32)";
            }
            return "";
        }
        case Role::Result:
            if (picture.format->palette == nullptr) {
                return "has no 8-bit palette, so it never shimmers";
            }
            [[fallthrough]];
        case Role::Splash:
        case Role::Piece:
        case Role::Border:
            if (!fitsScreen) {
                return Size(picture) + " does not fit on the 800 x 600 screen";
            }
            return "";
    }
    return "";
}

// The game's key is the first byte of a keyed picture's pixel data, and SDL compares it with
// whole pixels: in a picture of more than 8 bits per pixel the top-left pixel is transparent
// only if its other bytes are 0 (a 32-bit picture's fourth byte included).
std::string KeyProblem(const PictureEntry& entry, const SDL_Surface& picture) {
    if (entry.role != Role::Piece && entry.role != Role::Sheep && entry.role != Role::GlyphSheet) {
        return "";
    }
    const Uint8* topLeft = static_cast<const Uint8*>(picture.pixels);
    for (int i = 1; i < picture.format->BytesPerPixel; ++i) {
        if (topLeft[i] != 0) {
            return "top-left pixel is drawn: the key is its first byte, and its other bytes "
                   "are not 0";
        }
    }
    return "";
}

// Empty when the path can be opened for reading, else why not.
std::string OpenProblem(const char* path) {
    FilePtr file(fopen(path, "rb"));
    return file ? "" : std::string("cannot open it: ") + strerror(errno);
}

// The problem with a path field before its file is tried, or an empty text.
std::string PathProblem(const char* key, const char* path) {
    if (path[0] == '\0') {
        return std::string(key) + "=: missing from the theme file (or its value is empty)";
    }
    if (strlen(path) >= kPathCapacity - 1) {
        return std::string(key) + ": " + path +
               ": path of 99 characters or more; the game keeps only the first 99";
    }
    return "";
}

void CheckPicture(const PictureEntry& entry, const ThemeFileNames& names, int exploanim,
                  std::vector<std::string>* problems) {
    const char* path = names.*entry.field;
    std::string problem = PathProblem(entry.key, path);
    if (!problem.empty()) {
        problems->push_back(problem);
        return;
    }
    const std::string where = std::string(entry.key) + ": " + path + ": ";
    problem = OpenProblem(path);
    if (!problem.empty()) {
        problems->push_back(where + problem);
        return;
    }
    SurfacePtr picture(LoadPictureFile(path));
    if (!picture) {
        problems->push_back(where + "the game cannot read it as a picture: " + SDL_GetError());
        return;
    }
    for (const std::string& found :
         {SizeProblem(entry, *picture, exploanim), KeyProblem(entry, *picture)}) {
        if (!found.empty()) {
            problems->push_back(where + found);
        }
    }
}

void CheckSound(const char* key, const char* path, std::vector<std::string>* problems) {
    std::string problem = PathProblem(key, path);
    if (!problem.empty()) {
        problems->push_back(problem);
        return;
    }
    const std::string where = std::string(key) + ": " + path + ": ";
    problem = OpenProblem(path);
    if (!problem.empty()) {
        problems->push_back(where + problem);
        return;
    }
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    if (chunk == nullptr) {
        problems->push_back(where + "SDL_mixer cannot read it: " + Mix_GetError());
        return;
    }
    Mix_FreeChunk(chunk);
}

}  // namespace

int ExploanimFromSettings() {
    if (!FilePtr(fopen("config.ini", "r"))) {
        return kDefaultExploanim;
    }
    GameSettings settings;
    ChosenFiles chosen;
    ReadSettingsFile("config.ini", &settings, &chosen);
    return settings.exploanim;
}

bool OpenCheckMixer() {
    return SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(11025, AUDIO_U8, 1, 512) == 0;
}

std::vector<std::string> CheckTheme(const char* themeFile, int exploanim) {
    std::vector<std::string> problems;
    // The game falls back to default.ini; the checker names the file it was given.
    if (!FilePtr(fopen(themeFile, "r"))) {
        problems.push_back(std::string(themeFile) +
                           ": cannot open the theme file: " + strerror(errno));
        return problems;
    }
    ThemeFileNames names;
    ReadThemeFile(themeFile, &names);
    for (const PictureEntry& entry : kPictures) {
        CheckPicture(entry, names, exploanim, &problems);
    }
    for (const auto& sound : kSounds) {
        CheckSound(sound.key, names.*sound.field, &problems);
    }
    return problems;
}
