// The theme checker: loads a theme the way the game does and names every problem the
// game would meet with it, one line each, instead of stopping at the first.
#pragma once

#include <string>
#include <vector>

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kSheepStripHeight = 80;

// exploanim as config.ini in the working directory sets it, or its default 20 when
// there is no config.ini.
int ExploanimFromSettings();

// Starts SDL's audio and opens the mixer as the game does (11025 Hz, unsigned 8-bit,
// mono), so sounds are read and converted as in a match. False when that fails.
bool OpenCheckMixer();

// Reads themeFile and every picture and sound it names, relative to the working
// directory, and returns one line per problem; empty when the game can use the theme.
// exploanim is 1 to 20, as config.ini allows. Sounds need the mixer open (OpenCheckMixer).
std::vector<std::string> CheckTheme(const char* themeFile, int exploanim);
