#include "app/menu.h"

#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/screens.h"
#include "config/assets.h"
#include "match/local_match.h"
#include "net/network_match.h"
#include "platform/platform.h"
#include "text/bounded_text.h"

namespace {

constexpr int kMenuBarX = 220;
constexpr int kEntryLeftX = 221;
constexpr int kEntryRightX = 639;
constexpr int kEntryCount = 9;
constexpr int kFirstLabelY = 150;
constexpr int kEntryStep = 40;
constexpr int kBarAboveLabel = 7;
constexpr int kBandAboveLabel = 4;
constexpr int kBandHeight = 38;
constexpr int kMenuTextX = 225;
constexpr int kMenuWrapWidth = 800;
constexpr int kSplashPasses = 301;
constexpr Uint32 kSplashDelayMs = 10;
constexpr int kStartBannerY = 5;

enum MenuEntry {
    kStartGameEntry = 1,
    kDemoEntry,
    kNetServerEntry,
    kNetClientEntry,
    kOptionsEntry,
    kHelpEntry,
    kStoryEntry,
    kCreditsEntry,
    kQuitEntry,
};

// Everything the menu owns for the whole run. A match borrows the assets and tables
// and gets copies of the settings, status record and text style.
struct MenuRecords {
    GameSettings settings;
    ThemeFileNames themeFiles;
    LanguageTexts texts;
    LanguageTexts labels;  // the menu draws from here, so its line breaks stay its own
    ThemeAssets assets;
    TextStyle style;
    MatchTables tables;
    MatchStatus status;
};

void ReportRefusedBlit(int result) {
    if (result < 0) {
        fprintf(stderr, "BlitSurface error: %s\n", SDL_GetError());
    }
}

SDL_Rect TextArea(int x, int y, int wrapWidth) {
    return {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(wrapWidth), 0};
}

int LabelY(int entry) {
    return kFirstLabelY + kEntryStep * (entry - 1);
}

// Copies `count` full-height columns of border starting at column `from`.
void BlitColumns(SDL_Surface* border, int from, int count, SDL_Surface* screen, int x, int y) {
    if (count <= 0) {
        return;
    }
    SDL_Rect source = {static_cast<Sint16>(from), 0, static_cast<Uint16>(count),
                       static_cast<Uint16>(border->h)};
    SDL_Rect target = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    ReportRefusedBlit(SDL_BlitSurface(border, &source, screen, &target));
}

bool LeftOrRightHeld(const InputSnapshot& input) {
    return LeftButtonHeld(input) || RightButtonHeld(input);
}

bool EndsSplash(const InputSnapshot& input) {
    return LeftButtonHeld(input) || KeyHeld(input, SDLK_RETURN) || KeyHeld(input, SDLK_ESCAPE) ||
           KeyHeld(input, SDLK_SPACE);
}

void ShowStartBanner(SDL_Surface* screen, const TextStyle* style) {
    DrawMenuBar(screen, style, TextArea(0, kStartBannerY, 0));
    char banner[] = ">>CLICK TO START<<";
    DrawText(banner, screen, style, TextArea(240, 10, screen->w));
}

void PlayStartSound(Mix_Chunk* explosion) {
    if (explosion != nullptr) {
        PlaySoundOnChannel(1, explosion);
    }
}

void DrawMenuTexts(SDL_Surface* screen, MenuRecords* menu) {
    LanguageTexts& labels = menu->labels;
    char underline[] = "_____________";
    DrawText(labels.Meadowgunner, screen, &menu->style, TextArea(kMenuTextX, 70, kMenuWrapWidth));
    DrawText(underline, screen, &menu->style, TextArea(kMenuTextX, 80, kMenuWrapWidth));
    char* entryLabels[kEntryCount] = {labels.StartGame, labels.Demo,    labels.NetGameS,
                                      labels.NetGameC,  labels.Options, labels.Help,
                                      labels.Story,     labels.Credits, labels.Quit};
    for (int entry = 1; entry <= kEntryCount; ++entry) {
        DrawText(entryLabels[entry - 1], screen, &menu->style,
                 TextArea(kMenuTextX, LabelY(entry), kMenuWrapWidth));
    }
}

// Every match starts from the menu's own records: it gets copies it may change freely.
void StartMatch(SDL_Surface* screen, MenuRecords* menu, int entry) {
    MatchResources resources = {screen, menu->assets.background, &menu->assets, &menu->tables};
    menu->status.demo = entry == kDemoEntry ? 1 : 0;
    if (entry == kStartGameEntry || entry == kDemoEntry) {
        LocalMatch(resources, menu->settings, menu->status, menu->style);
    } else {
        NetworkMatch(resources, menu->settings, menu->status, menu->style,
                     entry == kNetServerEntry ? 1 : 0);
    }
}

void OpenScreen(SDL_Surface* screen, MenuRecords* menu, int entry, SDL_Rect position) {
    switch (entry) {
        case kOptionsEntry:
            ShowOptions(screen, &menu->style, position, &menu->settings, &menu->texts);
            break;
        case kHelpEntry:
            ShowHelp(screen, &menu->style, position, &menu->settings, &menu->texts);
            break;
        case kStoryEntry:
            ShowStory(screen, &menu->style, position, &menu->settings, &menu->texts);
            break;
        case kCreditsEntry:
            ShowCredits(screen, &menu->style, position, &menu->settings, &menu->texts);
            break;
        default:
            break;
    }
}

// Acts on the entry under the pointer; returns whether the menu is to be left.
bool ActOnEntry(SDL_Surface* screen, MenuRecords* menu, MenuLocks* locks, int entry,
                const InputSnapshot& input, SDL_Rect barPosition) {
    bool leftDown = LeftButtonHeld(input);
    if (entry <= kNetClientEntry) {
        if (leftDown && !locks->click) {
            StartMatch(screen, menu, entry);
            locks->escape = true;
        }
        return false;
    }
    // Resting on these entries keeps Escape from quitting, so a screen left with a
    // still-held Escape does not take the menu with it.
    locks->escape = true;
    if (entry == kQuitEntry) {
        return leftDown;
    }
    if (leftDown) {
        OpenScreen(screen, menu, entry, barPosition);
        locks->escape = true;
    }
    return false;
}

// One pass of the menu loop; returns whether the menu is to be left.
bool RunMenuPass(SDL_Surface* screen, MenuRecords* menu, MenuLocks* locks) {
    ClearScreen(screen);
    DrainEvents();
    InputSnapshot input = PollInput();
    ReleaseMenuLocks(locks, input);
    int entry = MenuEntryAt(input.mouseX, input.mouseY);
    if (entry != 0) {
        SDL_Rect barPosition = TextArea(0, LabelY(entry) - kBarAboveLabel, 0);
        DrawMenuBar(screen, &menu->style, barPosition);
        if (ActOnEntry(screen, menu, locks, entry, input, barPosition)) {
            return true;
        }
    }
    if (!locks->escape && KeyHeld(input, SDLK_ESCAPE)) {
        return true;
    }
    DrawMenuTexts(screen, menu);
    ShowScreen(screen);
    return false;
}

}  // namespace

void MainMenu(SDL_Surface* screen) {
    MenuLocks locks = {false, false, false};
    MenuRecords menu{};
    ReadConfigFiles(&menu.settings, &menu.themeFiles, &menu.texts);
    menu.labels = menu.texts;
    LoadThemeAssets(&menu.themeFiles, &menu.assets);
    LoadFontSheets(&menu.themeFiles, &menu.assets, &menu.style);
    std::copy(std::begin(menu.assets.pictures), std::end(menu.assets.pictures),
              std::begin(menu.status.pictures));

    PlayStartSound(menu.assets.sounds[kExplodeSound]);
    ShowStartBanner(screen, &menu.style);
    ShowSplash(screen, &menu.status);
    // The click that ended the splash must not start a match.
    locks.click = true;
    locks.leftOrRightWasDown = LeftOrRightHeld(PollInput());

    while (!RunMenuPass(screen, &menu, &locks)) {
    }
    FreeThemeAssets(&menu.assets);
}

void ShowSplash(SDL_Surface* screen, const MatchStatus* status) {
    SDL_Surface* splash = status->pictures[kSplashscreen];
    const SDL_Rect corner = TextArea((screen->w - splash->w) / 2, (screen->h - splash->h) / 2, 0);
    for (int pass = 0; pass < kSplashPasses; ++pass) {
        SDL_Rect target = corner;
        ReportRefusedBlit(SDL_BlitSurface(splash, nullptr, screen, &target));
        ShowScreen(screen);
        SDL_Delay(kSplashDelayMs);
        DrainEvents();
        if (EndsSplash(PollInput())) {
            return;
        }
    }
}

void DrawMenuBar(SDL_Surface* screen, const TextStyle* style, SDL_Rect position) {
    SDL_Rect target = {kMenuBarX, position.y, 0, 0};
    ReportRefusedBlit(SDL_BlitSurface(style->border, nullptr, screen, &target));
}

void DrawBar(SDL_Surface* screen, const TextStyle* style, SDL_Rect area) {
    SDL_Surface* border = style->border;
    // A bar can drop the border's middle but has nothing to add: a wider request draws
    // the whole border and no more.
    int width = std::min(static_cast<int>(area.w), border->w);
    int leftColumns = width / 2;
    int rightColumns = width - leftColumns;
    BlitColumns(border, 0, leftColumns, screen, area.x, area.y);
    BlitColumns(border, border->w - rightColumns, rightColumns, screen, area.x + leftColumns,
                area.y);
}

void DrawButton(SDL_Surface* screen, const TextStyle* style, SDL_Rect area, const char* label) {
    DrawBar(screen, style, area);
    int inset = (style->border->h - style->abcbig->h) / 2;
    char text[kTextMaxLength + 1];
    CopyText(text, label);
    DrawText(text, screen, style, TextArea(area.x + inset, area.y + inset, area.w));
}

int MenuEntryAt(int x, int y) {
    if (x < kEntryLeftX || x > kEntryRightX) {
        return 0;
    }
    for (int entry = 1; entry <= kEntryCount; ++entry) {
        int top = LabelY(entry) - kBandAboveLabel;
        if (y >= top && y < top + kBandHeight) {
            return entry;
        }
    }
    return 0;
}

void ReleaseMenuLocks(MenuLocks* locks, const InputSnapshot& input) {
    if (locks->escape && !KeyHeld(input, SDLK_ESCAPE)) {
        locks->escape = false;
    }
    if (locks->click && !locks->leftOrRightWasDown) {
        locks->click = false;
    }
    locks->leftOrRightWasDown = LeftOrRightHeld(input);
}
