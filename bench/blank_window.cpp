// Starts SDL as the game does (video, audio, mixer, an 800 x 600 window) and shows black
// frames, 100 a second, until the window is closed or, given a number, that many frames
// have been shown: what any program of this kind pays to start and to stay.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const long frames = argc > 1 ? strtol(argv[1], nullptr, 10) : -1;
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) == -1) {
        return 1;
    }
    Mix_OpenAudio(11025, AUDIO_U8, 1, 512);
    SDL_Surface* screen = SDL_SetVideoMode(800, 600, 0, 0);
    if (screen == nullptr) {
        return 1;
    }
    for (long shown = 0; frames < 0 || shown < frames; ++shown) {
        SDL_UpdateRect(screen, 0, 0, 0, 0);
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                return 0;
            }
        }
        SDL_Delay(10);
    }
    SDL_Quit();
    return 0;
}
