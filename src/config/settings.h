// The three configuration files: config.ini (GameSettings), the theme file
// (ThemeFileNames) and the language file (LanguageTexts).
#pragma once

#include <cstdint>

struct GameSettings {
    int speedslow;
    int speedfast;
    int shiftslow;
    int speednormal;  // derived: step without Shift
    int speedshift;   // derived: step with Shift
    int sheepspeed;
    int sheepcolor1;
    int sheepcolor2;
    int sheepmax;
    int bloodtime;
    int explotime;
    int maxshots;
    int shotspeed;
    int exploanim;
    int exploframewidth;  // derived at match set-up
    int frameduration;
    int sound;
    int fullscreen;
    char serverip[20];
    uint16_t port;
    char playername[20];
    char helpfile[20];
    char storyfile[20];
};

struct ThemeFileNames {
    char themepath[100];
    char background[100];
    char cannon1[100];
    char cannon2[100];
    char shield1[100];
    char shield2[100];
    char sheeplw[100];
    char sheeprw[100];
    char sheeplb[100];
    char sheeprb[100];
    char shot[100];
    char blood[100];
    char explosion[100];
    char suddendeath[100];
    char splashscreen[100];
    char winner[100];
    char loser[100];
    char draw[100];
    char abcbig[100];
    char abcsmall[100];
    char specialchar[100];
    char numbers[100];
    char border[100];
    char sheepsound1[100];
    char sheepsound2[100];
    char sheepsound3[100];
    char shotsound[100];
    char explodesound[100];
};

struct LanguageTexts {
    char Sheep[30];
    char Player[30];
    char StartGame[30];
    char NetGameS[30];
    char NetGameC[30];
    char Quit[30];
    char Options[30];
    char WaitPlayer[40];
    char Sound[30];
    char On[10];
    char Off[10];
    char Fullscreen[30];
    char Window[30];
    char Story[30];
    char Credits[30];
    char Help[30];
    char QuitCommand[40];
    char Demo[30];
    char Meadowgunner[30];
    char ScreenModeHint[80];
    char BackMenu[10];
    char OptionHint[80];
};

// The names config.ini chose for the theme and language files (empty if none).
struct ChosenFiles {
    char themeFile[40];
    char languageFile[40];
};

// Reads config.ini, then the theme file it names (or default.ini), then the language
// file it names, all from the working directory. Exits with status 1 when neither the
// chosen theme file nor default.ini can be opened.
void ReadConfigFiles(GameSettings* settings, ThemeFileNames* theme, LanguageTexts* texts);

// The three steps of ReadConfigFiles, each on an explicit path.
// ReadSettingsFile never fails: a missing file leaves every value at its default.
void ReadSettingsFile(const char* path, GameSettings* settings, ChosenFiles* chosen);
// Returns false when neither themeFile nor default.ini could be opened.
bool ReadThemeFile(const char* themeFile, ThemeFileNames* theme);
void ReadLanguageFile(const char* languageFile, LanguageTexts* texts);
