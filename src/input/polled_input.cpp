#include "input/polled_input.h"

#include <cstdlib>

#include "platform/platform.h"

InputSnapshot PollInput() {
    InputSnapshot input;
    input.keys = HeldKeyTable(&input.keyCount);
    input.mods = SDL_GetModState();
    input.buttons = SDL_GetMouseState(&input.mouseX, &input.mouseY);
    return input;
}

bool KeyHeld(const InputSnapshot& input, SDLKey key) {
    return input.keys != nullptr && key >= 0 && key < input.keyCount && input.keys[key] != 0;
}

void DrainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            exit(0);
        }
    }
}
