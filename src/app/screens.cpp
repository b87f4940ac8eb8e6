#include "app/screens.h"

#include <cstdio>

#include "app/menu.h"
#include "input/polled_input.h"
#include "platform/platform.h"
#include "text/bounded_text.h"

namespace {

using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr int kBackButtonX = 20;
constexpr int kBackButtonRight = 195;
constexpr int kBackButtonWidth = 175;  // "<- Menu": 7 characters of 25 pixels
constexpr int kBackButtonMargin = 20;
constexpr int kHelpReadLimit = kHelpLineSize - 1;
constexpr int kStoryReadLimit = kStoryLineSize - 1;
constexpr int kHeadingX = 225;
constexpr int kHeadingY = 30;

// The position rectangle a screen is handed doubles as its scratch space for text.
void DrawAt(char* text, SDL_Surface* screen, const TextStyle* style, SDL_Rect* position, int x,
            int y, int wrapWidth) {
    position->x = static_cast<Sint16>(x);
    position->y = static_cast<Sint16>(y);
    position->w = static_cast<Uint16>(wrapWidth);
    DrawText(text, screen, style, *position);
}

// The loop every screen behind the menu shares: it leaves on Escape or a left click on
// the back button, and otherwise redraws its content under a back button each pass.
template <typename DrawContent>
void RunSubScreen(SDL_Surface* screen, const TextStyle* style, const LanguageTexts* texts,
                  DrawContent drawContent) {
    const int borderHeight = style->border->h;
    const SDL_Rect backButton = {kBackButtonX,
                                 static_cast<Sint16>(screen->h - borderHeight - kBackButtonMargin),
                                 kBackButtonWidth, 0};
    for (;;) {
        DrainEvents();
        InputSnapshot input = PollInput();
        if (KeyHeld(input, SDLK_ESCAPE)) {
            return;
        }
        if (LeftButtonHeld(input) &&
            BackButtonHit(input.mouseX, input.mouseY, screen->h, borderHeight)) {
            return;
        }
        ClearScreen(screen);
        drawContent();
        DrawButton(screen, style, backButton, texts->BackMenu);
        ShowScreen(screen);
    }
}

template <int RowSize>
void EmptyRows(char (*lines)[RowSize]) {
    for (int row = 0; row < kScreenLines; ++row) {
        lines[row][0] = '\0';
    }
}

}  // namespace

void ReadHelpLines(FILE* file, char lines[kScreenLines][kHelpLineSize]) {
    EmptyRows(lines);
    // Every row gets its read even after the end of the file, so a long line that
    // spills into the next row pushes the later lines down by one.
    for (int row = 0; row < kScreenLines; ++row) {
        if (fgets(lines[row], kHelpReadLimit, file) == nullptr) {
            lines[row][0] = '\0';
        }
    }
}

void ReadStoryLines(FILE* file, char lines[kScreenLines][kStoryLineSize]) {
    EmptyRows(lines);
    for (int row = 0; row < kScreenLines; ++row) {
        if (fgets(lines[row], kStoryReadLimit, file) == nullptr) {
            lines[row][0] = '\0';
            return;
        }
    }
}

FilePtr OpenStoryFile(const char* storyfile) {
    FilePtr file(fopen(storyfile, "rb"));
    if (file) {
        return file;
    }
    fprintf(stderr, "storyfile %s could not be opend! trying to open default file engstory.txt",
            storyfile);
    file.reset(fopen("engstory.txt", "rb"));
    if (!file) {
        fprintf(stderr, "engstory.txt couldn't be opened.\n");
    }
    return file;
}

bool BackButtonHit(int x, int y, int screenHeight, int borderHeight) {
    int top = screenHeight - borderHeight - kBackButtonMargin;
    return x >= kBackButtonX && x <= kBackButtonRight && y >= top && y <= top + borderHeight;
}

void ShowHelp(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
              const GameSettings* settings, const LanguageTexts* texts) {
    char lines[kScreenLines][kHelpLineSize] = {};
    FilePtr file(fopen(settings->helpfile, "rb"));
    if (file) {
        ReadHelpLines(file.get(), lines);
    } else {
        fprintf(stderr, "help file %s could not be opened!\n", settings->helpfile);
    }
    char missing[] = "Cant find helpfiles";
    RunSubScreen(screen, style, texts, [&] {
        if (!file) {
            DrawAt(missing, screen, style, &position, 40, screen->h / 2, screen->w);
            return;
        }
        for (int row = 0; row < kScreenLines; ++row) {
            DrawAt(lines[row], screen, style, &position, 40, 40 + 40 * row, screen->w);
        }
    });
}

void ShowStory(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
               const GameSettings* settings, const LanguageTexts* texts) {
    char lines[kScreenLines][kStoryLineSize] = {};
    FilePtr file = OpenStoryFile(settings->storyfile);
    if (file) {
        ReadStoryLines(file.get(), lines);
    }
    char heading[sizeof texts->Story];
    CopyText(heading, texts->Story);
    char missing[] = "Storyfile couldn't be opened.";
    const int wrapWidth = screen->w - 40;
    RunSubScreen(screen, style, texts, [&] {
        DrawAt(heading, screen, style, &position, kHeadingX, kHeadingY, wrapWidth);
        if (!file) {
            DrawAt(missing, screen, style, &position, 30, 100, wrapWidth);
            return;
        }
        for (int row = 0; row < kScreenLines; ++row) {
            DrawAt(lines[row], screen, style, &position, 30, 100 + 35 * row, wrapWidth);
        }
    });
}

void ShowCredits(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
                 const GameSettings* /*settings*/, const LanguageTexts* texts) {
    char heading[] = "Programmer Crew:";
    char team[] = "Meadowgunner team";
    char art[] = "Art: generated by our scripts";
    char sound[] = "Sound: made with sox";
    char licence[] = "2026 - free software, GPL-3.0";
    RunSubScreen(screen, style, texts, [&] {
        DrawAt(heading, screen, style, &position, kHeadingX, kHeadingY, screen->w);
        DrawAt(team, screen, style, &position, kHeadingX, 100, screen->w);
        DrawAt(art, screen, style, &position, kHeadingX, 170, screen->w);
        DrawAt(sound, screen, style, &position, kHeadingX, 240, screen->w);
        DrawAt(licence, screen, style, &position, 100, 380, screen->w);
    });
}

void ShowOptions(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
                 const GameSettings* /*settings*/, const LanguageTexts* texts) {
    // Writable copies: line breaks put in on the first pass stay for the later ones.
    char heading[sizeof texts->Options];
    char screenModeHint[sizeof texts->ScreenModeHint];
    char optionHint[sizeof texts->OptionHint];
    CopyText(heading, texts->Options);
    CopyText(screenModeHint, texts->ScreenModeHint);
    CopyText(optionHint, texts->OptionHint);
    char dash[] = "-";
    const int wrapWidth = screen->w - 30;
    RunSubScreen(screen, style, texts, [&] {
        DrawAt(heading, screen, style, &position, kHeadingX, kHeadingY, wrapWidth);
        // Eighteen dashes 7 pixels apart overlap into one underline.
        for (int dashIndex = 0; dashIndex < 18; ++dashIndex) {
            DrawAt(dash, screen, style, &position, kHeadingX + 7 * dashIndex, 45, wrapWidth);
        }
        DrawAt(screenModeHint, screen, style, &position, 20, 100, wrapWidth);
        DrawAt(optionHint, screen, style, &position, 20, 200, wrapWidth);
    });
}
