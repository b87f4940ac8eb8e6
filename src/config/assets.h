// Loading and release of the theme's pictures, sounds and font sheets.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include "config/settings.h"
#include "text/text.h"

enum class Treatment { Plain, Keyed, Alpha };

// Indices of ThemeAssets::pictures.
enum PictureIndex { kWinner = 0, kLoser = 1, kDraw = 2, kSuddenDeath = 3, kSplashscreen = 4 };
// Indices of ThemeAssets::sounds; sound i always plays on mixer channel i.
enum SoundIndex {
    kShotSound = 0,
    kExplodeSound = 1,
    kSheepSound1 = 2,
    kSheepSound2 = 3,
    kSheepSound3 = 4
};

constexpr int kSurfaceListCapacity = 100;
constexpr int kSoundCount = 5;

struct ThemeAssets {
    SDL_Surface* background;
    SDL_Surface* cannon1;
    SDL_Surface* shield1;
    SDL_Surface* cannon2;
    SDL_Surface* shield2;
    SDL_Surface* sheeppictures[4];  // sheeplw, sheeplb, sheeprw, sheeprb
    SDL_Surface* shot;
    SDL_Surface* blood;
    SDL_Surface* explosion;
    SDL_Surface* pictures[5];  // winner, loser, draw, suddendeath, splashscreen
    Mix_Chunk* sounds[kSoundCount];
    SDL_Surface* surfacelist[kSurfaceListCapacity];
    int surfacecount;
};

// Loads a picture file and applies the treatment; on failure prints
// "Couldn't load %s: %s\n" and exits with status 1.
SDL_Surface* LoadImage(const char* path, Treatment treatment);

// Loads the 17 theme pictures and the 5 sounds, starting a new surface list.
void LoadThemeAssets(const ThemeFileNames* names, ThemeAssets* assets);

// Loads the four glyph sheets and the border picture, appending them to the list.
void LoadFontSheets(const ThemeFileNames* names, ThemeAssets* assets, TextStyle* style);

// Frees every listed picture (last loaded first) and the five sounds.
void FreeThemeAssets(ThemeAssets* assets);
