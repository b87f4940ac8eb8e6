// The main menu, which owns every long-lived record, and the bar and button drawing
// shared with its screens.
#pragma once

#include <SDL/SDL.h>

#include "input/polled_input.h"
#include "config/settings.h"
#include "match/match_state.h"
#include "text/text.h"

// Reads the files, loads the theme, shows the splash and runs the menu until the
// player quits; releases the theme before it returns.
void MainMenu(SDL_Surface* screen);

// Shows the splash picture centred until a click, Return, Escape or Space, at most
// about three seconds.
void ShowSplash(SDL_Surface* screen, const MatchStatus* status);

// The whole border picture at x = 220 and position.y.
void DrawMenuBar(SDL_Surface* screen, const TextStyle* style, SDL_Rect position);
// A bar exactly area.w wide: the border's left half-width columns, then its right ones.
// A bar can drop the border's middle but not add to it: at most the border's width.
void DrawBar(SDL_Surface* screen, const TextStyle* style, SDL_Rect area);
// A bar with its label inset by half the difference of the border and glyph heights.
void DrawButton(SDL_Surface* screen, const TextStyle* style, SDL_Rect area, const char* label);

// The menu entry (1..9) whose pointer band holds (x, y), or 0.
int MenuEntryAt(int x, int y);

// The click lock keeps the click that ended the splash from starting a match; the
// escape lock keeps an Escape still held from a match or screen from quitting.
struct MenuLocks {
    bool click;
    bool escape;
    bool leftOrRightWasDown;  // at the previous reading
};
// The start of a pass: clears each lock whose key or buttons have been seen up, then
// remembers this reading's buttons for the next pass.
void ReleaseMenuLocks(MenuLocks* locks, const InputSnapshot& input);
