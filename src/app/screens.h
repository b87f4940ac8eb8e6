// The screens behind the menu: help, story, credits and options.
#pragma once

#include <SDL/SDL.h>

#include <cstdio>
#include <memory>

#include "config/line_reader.h"
#include "config/settings.h"
#include "text/text.h"

constexpr int kScreenLines = 12;
constexpr int kHelpLineSize = 50;
constexpr int kStoryLineSize = 100;

void ShowHelp(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
              const GameSettings* settings, const LanguageTexts* texts);
void ShowStory(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
               const GameSettings* settings, const LanguageTexts* texts);
void ShowCredits(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
                 const GameSettings* settings, const LanguageTexts* texts);
void ShowOptions(SDL_Surface* screen, TextStyle* style, SDL_Rect position,
                 const GameSettings* settings, const LanguageTexts* texts);

// Exactly twelve reads of at most 48 bytes each, one per row.
void ReadHelpLines(FILE* file, char lines[kScreenLines][kHelpLineSize]);
// Up to twelve reads of at most 98 bytes, stopping at the end of the file.
void ReadStoryLines(FILE* file, char lines[kScreenLines][kStoryLineSize]);

// Opens the story file, falling back to engstory.txt; empty when neither opens.
std::unique_ptr<FILE, FileCloser> OpenStoryFile(const char* storyfile);

// Whether the pointer is on the back button of a screen of the given height.
bool BackButtonHit(int x, int y, int screenHeight, int borderHeight);
