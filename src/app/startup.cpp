#include "app/startup.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/menu.h"
#include "platform/platform.h"

bool WantsFullscreen(int argc, char** argv) {
    for (int i = argc - 1; i >= 0; --i) {
        if (argv[i] != nullptr && strstr(argv[i], "/f") != nullptr) {
            return true;
        }
    }
    return false;
}

void RunGame(int argc, char** argv) {
    bool fullscreen = WantsFullscreen(argc, argv);
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) == -1) {
        printf("Could not initialize SDL: %s.\n", SDL_GetError());
        exit(-1);
    }
    if (Mix_OpenAudio(11025, AUDIO_U8, 1, 512) < 0) {
        fprintf(stderr, "Warning: Couldn't set 11025 Hz 8-bit audio\n- Reason: %s\n",
                SDL_GetError());
    }
    atexit(SDL_Quit);
    SDL_WM_SetCaption("Meadowgunner v. 1.0", "Medow");
    SDL_Surface* screen = OpenDisplay(800, 600, fullscreen);
    if (screen == nullptr) {
        fprintf(stderr, "Couldn't set video mode: %s\n", SDL_GetError());
        exit(1);
    }
    if (SDL_SetAlpha(screen, SDL_RLEACCEL, 255) != 0) {
        fprintf(stderr, "Couldn't set alpha: %s\n", SDL_GetError());
    }
    srand(static_cast<unsigned>(time(nullptr)));
    MainMenu(screen);
    SDL_Quit();
    exit(0);
}
