// The one place the game reads polled input. Every loop takes a snapshot per pass;
// tests build snapshots from their own key and button tables.
#pragma once

#include <SDL/SDL.h>

struct InputSnapshot {
    const Uint8* keys = nullptr;  // indexed by SDLKey; 1 = held
    int keyCount = 0;
    SDLMod mods = KMOD_NONE;
    int mouseX = 0;
    int mouseY = 0;
    Uint8 buttons = 0;  // SDL_BUTTON(1) left, SDL_BUTTON(3) right
};

// Reads SDL's held-key table, modifier state and mouse state as they stand now.
InputSnapshot PollInput();

// Whether key is held in the snapshot (false for keys outside the table).
bool KeyHeld(const InputSnapshot& input, SDLKey key);
inline bool ShiftHeld(const InputSnapshot& input) {
    return (input.mods & KMOD_SHIFT) != 0;
}
inline bool CtrlHeld(const InputSnapshot& input) {
    return (input.mods & KMOD_CTRL) != 0;
}
inline bool LeftButtonHeld(const InputSnapshot& input) {
    return (input.buttons & SDL_BUTTON(1)) != 0;
}
inline bool RightButtonHeld(const InputSnapshot& input) {
    return (input.buttons & SDL_BUTTON(3)) != 0;
}

// Takes every pending event; a window-close request ends the process with status 0.
void DrainEvents();
