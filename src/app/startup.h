// Program start-up.
#pragma once

// True when any argument, the program's own path included, contains "/f".
bool WantsFullscreen(int argc, char** argv);

// Brings up SDL, the mixer and the window, runs the menu and exits. Never returns.
[[noreturn]] void RunGame(int argc, char** argv);
