// meadowgunner-theme-check: lists every problem the game would meet with a theme file.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "text/bounded_text.h"
#include "themecheck/theme_check.h"

namespace {

constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

int Usage() {
    fputs(
        "usage: meadowgunner-theme-check [--exploanim N] THEMEFILE\n"
        "Checks THEMEFILE and every picture and sound it names, with paths relative to the\n"
        "working directory as in the game. exploanim (1 to 20) comes from config.ini in the\n"
        "working directory, else 20, unless --exploanim sets it.\n"
        "Exit status: 0 no problems, 1 problems listed, 2 usage or audio failure.\n",
        stderr);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const char* themeFile = nullptr;
    int exploanim = 0;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--exploanim") == 0 && i + 1 < argc) {
            exploanim = ParseDecimal(argv[++i]);
            if (exploanim < 1 || exploanim > 20) {
                return Usage();
            }
        } else if (themeFile == nullptr && argv[i][0] != '-') {
            themeFile = argv[i];
        } else {
            return Usage();
        }
    }
    if (themeFile == nullptr) {
        return Usage();
    }
    if (exploanim == 0) {
        exploanim = ExploanimFromSettings();
    }
    // No sound is played: without a driver chosen by the caller, the dummy one will do.
    SetEnvironmentDefault("SDL_AUDIODRIVER", "dummy");
    if (!OpenCheckMixer()) {
        fprintf(stderr, "meadowgunner-theme-check: cannot open the audio mixer: %s\n",
                SDL_GetError());
        return kExitUsage;
    }
    std::vector<std::string> problems = CheckTheme(themeFile, exploanim);
    for (const std::string& problem : problems) {
        puts(problem.c_str());
    }
    if (problems.empty()) {
        printf("%s: no problems found\n", themeFile);
    }
    Mix_CloseAudio();
    SDL_Quit();
    return problems.empty() ? 0 : kExitProblems;
}
