#include "config/settings.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "config/line_reader.h"
#include "text/bounded_text.h"

namespace {

constexpr int kSettingsLineLimit = 300;
constexpr int kThemeLineLimit = 100;
constexpr int kLanguageLineLimit = 100;
constexpr int kUnset = -1;

using FilePtr = std::unique_ptr<FILE, FileCloser>;

struct NumericKey {
    const char* key;
    int GameSettings::*field;
    int low;
    int high;
    int fallback;
    const char* refusal;  // Latin-1, no line end
};

const NumericKey kNumericKeys[] = {
    {"fullscreen=", &GameSettings::fullscreen, 0, 1, 1, "Ung\xfcltiger Wert f\xfcr fullscreen"},
    {"sound=", &GameSettings::sound, 0, 1, 0, "Ung\xfcltiger Wert f\xfcr sound"},
    {"speedslow=", &GameSettings::speedslow, 0, 100, 6, nullptr},
    {"speedfast=", &GameSettings::speedfast, 0, 100, 12, nullptr},
    {"shiftslow=", &GameSettings::shiftslow, 0, 1, 1, nullptr},
    {"sheepspeed=", &GameSettings::sheepspeed, 0, 100, 3, nullptr},
    {"sheepmax=", &GameSettings::sheepmax, 0, 20, 20, nullptr},
    {"sheepcolor1=", &GameSettings::sheepcolor1, 0, 2, 1, nullptr},
    {"sheepcolor2=", &GameSettings::sheepcolor2, 0, 2, 0, nullptr},
    {"bloodtime=", &GameSettings::bloodtime, 0, 500, 300, nullptr},
    {"maxshots=", &GameSettings::maxshots, 1, 20, 1, nullptr},
    {"shotspeed=", &GameSettings::shotspeed, 0, 100, 12, nullptr},
    {"frameduration=", &GameSettings::frameduration, 0, 100, 30, nullptr},
    {"explotime=", &GameSettings::explotime, 10, 100, 20, nullptr},
    {"exploanim=", &GameSettings::exploanim, 1, 20, 20, nullptr},
};

// The four selection characters; kUnset until their line is read.
struct Selection {
    int language = kUnset;
    int theme = kUnset;
    int address = kUnset;
    int player = kUnset;
};

char SelectDigit(char c, char low, char high, char fallback) {
    return (c >= low && c <= high) ? c : fallback;
}

// For "prefix" + c + "=" + value lines: the character after the prefix, or kUnset
// when the line ends there, so it can never equal a selection character.
int SelectorOf(const char* line, size_t prefixLength) {
    return line[prefixLength] == '\0' ? kUnset : static_cast<unsigned char>(line[prefixLength]);
}

const char* ValueAfterSelector(const char* line, size_t prefixLength) {
    if (line[prefixLength] == '\0' || line[prefixLength + 1] == '\0') {
        return "";
    }
    return line + prefixLength + 2;
}

bool ApplyNumericKey(const char* line, GameSettings* settings) {
    for (const NumericKey& key : kNumericKeys) {
        if (!LineHasKey(line, key.key)) {
            continue;
        }
        int value = ParseDecimal(line + strlen(key.key));
        if (value >= key.low && value <= key.high) {
            settings->*key.field = value;
        } else if (key.refusal != nullptr) {
            fputs(key.refusal, stderr);
        }
        return true;
    }
    if (LineHasKey(line, "port=")) {
        int value = ParseDecimal(line + 5);
        if (value >= 1 && value <= 65534) {
            settings->port = static_cast<uint16_t>(value);
        }
        return true;
    }
    return false;
}

bool ApplySelectionKey(const char* line, Selection* selection) {
    struct SelectionKey {
        const char* key;
        int Selection::*field;
        char low, high, fallback;
    };
    static const SelectionKey kKeys[] = {
        {"currentlanguage=", &Selection::language, '0', '9', '0'},
        {"currenttheme=", &Selection::theme, '0', '9', '0'},
        {"currentip=", &Selection::address, '1', '5', '1'},
        {"currentplayername=", &Selection::player, '1', '5', '1'},
    };
    for (const SelectionKey& key : kKeys) {
        if (LineHasKey(line, key.key)) {
            char c = line[strlen(key.key)];
            selection->*key.field = SelectDigit(c, key.low, key.high, key.fallback);
            return true;
        }
    }
    return false;
}

void ApplyChoiceKey(const char* line, const Selection& selection, GameSettings* settings,
                    ChosenFiles* chosen) {
    struct ChoiceKey {
        const char* prefix;
        int Selection::*selector;
        char* target;
        size_t capacity;
    };
    const ChoiceKey keys[] = {
        {"language", &Selection::language, chosen->languageFile, sizeof chosen->languageFile},
        {"theme", &Selection::theme, chosen->themeFile, sizeof chosen->themeFile},
        {"mrIP", &Selection::address, settings->serverip, sizeof settings->serverip},
        {"player", &Selection::player, settings->playername, sizeof settings->playername},
        {"helpfile", &Selection::language, settings->helpfile, sizeof settings->helpfile},
        {"storyfile", &Selection::language, settings->storyfile, sizeof settings->storyfile},
    };
    for (const ChoiceKey& key : keys) {
        size_t prefixLength = strlen(key.prefix);
        if (!LineHasKey(line, key.prefix)) {
            continue;
        }
        int selector = SelectorOf(line, prefixLength);
        if (selector != kUnset && selector == selection.*key.selector) {
            CopyText(key.target, key.capacity, ValueAfterSelector(line, prefixLength));
        }
        return;
    }
}

void PresetSettings(GameSettings* settings, ChosenFiles* chosen) {
    memset(settings, 0, sizeof *settings);
    memset(chosen, 0, sizeof *chosen);
    for (const NumericKey& key : kNumericKeys) {
        settings->*key.field = kUnset;
    }
    settings->port = 65535;
}

void ApplyDefaultsAndDerived(GameSettings* settings) {
    for (const NumericKey& key : kNumericKeys) {
        if (settings->*key.field == kUnset) {
            settings->*key.field = key.fallback;
        }
    }
    if (settings->frameduration < 1) {
        settings->frameduration = 30;
    }
    if (settings->shiftslow != 0) {
        settings->speednormal = settings->speedfast;
        settings->speedshift = settings->speedslow;
    } else {
        settings->speednormal = settings->speedslow;
        settings->speedshift = settings->speedfast;
    }
}

}  // namespace

void ReadSettingsFile(const char* path, GameSettings* settings, ChosenFiles* chosen) {
    PresetSettings(settings, chosen);
    // Every file is read as its bytes: Windows would read a text file without its CRs
    // and stop at a Ctrl-Z, and the game would read its files differently there.
    FilePtr file(fopen(path, "rb"));
    if (!file) {
        fputs("config.ini could not be opend", stderr);
    } else {
        Selection selection;
        ForEachConfigLine(file.get(), kSettingsLineLimit, [&](const char* line) {
            if (ApplyNumericKey(line, settings) || ApplySelectionKey(line, &selection)) {
                return;
            }
            ApplyChoiceKey(line, selection, settings, chosen);
        });
    }
    ApplyDefaultsAndDerived(settings);
}

bool ReadThemeFile(const char* themeFile, ThemeFileNames* theme) {
    memset(theme, 0, sizeof *theme);
    FilePtr file(fopen(themeFile, "rb"));
    if (!file) {
        fputs("theme file could not be opened! try to open default.ini\n", stderr);
        file.reset(fopen("default.ini", "rb"));
        if (!file) {
            fputs("default.ini couldn't be opened.\n", stderr);
            return false;
        }
    }
    static const struct {
        const char* key;
        size_t offset;
    } kKeys[] = {
#define THEME_KEY(name) {#name "=", offsetof(ThemeFileNames, name)}
        THEME_KEY(background),  THEME_KEY(cannon1),      THEME_KEY(cannon2),
        THEME_KEY(shield1),     THEME_KEY(shield2),      THEME_KEY(sheeplw),
        THEME_KEY(sheeprw),     THEME_KEY(sheeplb),      THEME_KEY(sheeprb),
        THEME_KEY(shot),        THEME_KEY(blood),        THEME_KEY(explosion),
        THEME_KEY(suddendeath), THEME_KEY(splashscreen), THEME_KEY(winner),
        THEME_KEY(loser),       THEME_KEY(draw),         THEME_KEY(abcbig),
        THEME_KEY(abcsmall),    THEME_KEY(specialchar),  THEME_KEY(numbers),
        THEME_KEY(border),      THEME_KEY(sheepsound1),  THEME_KEY(sheepsound2),
        THEME_KEY(sheepsound3), THEME_KEY(shotsound),    THEME_KEY(explodesound),
#undef THEME_KEY
    };
    ForEachConfigLine(file.get(), kThemeLineLimit, [&](const char* line) {
        if (LineHasKey(line, "themepath=")) {
            CopyText(theme->themepath, line + strlen("themepath="));
            return;
        }
        for (const auto& key : kKeys) {
            if (LineHasKey(line, key.key)) {
                char* field = reinterpret_cast<char*>(theme) + key.offset;
                CopyText(field, 100, theme->themepath);
                AppendText(field, 100, line + strlen(key.key));
                return;
            }
        }
    });
    return true;
}

void ReadLanguageFile(const char* languageFile, LanguageTexts* texts) {
    memset(texts, 0, sizeof *texts);
    FilePtr file(fopen(languageFile, "rb"));
    if (!file) {
        fputs("language file could not be opened!\n", stderr);
        return;
    }
    static const struct {
        const char* key;
        size_t offset;
        size_t width;
    } kKeys[] = {
#define TEXT_KEY(name) {#name "=", offsetof(LanguageTexts, name), sizeof(LanguageTexts::name)}
        TEXT_KEY(Sheep),        TEXT_KEY(Player),
        TEXT_KEY(StartGame),    TEXT_KEY(NetGameS),
        TEXT_KEY(NetGameC),     TEXT_KEY(Quit),
        TEXT_KEY(Options),      TEXT_KEY(WaitPlayer),
        TEXT_KEY(Sound),        TEXT_KEY(On),
        TEXT_KEY(Off),          TEXT_KEY(Fullscreen),
        TEXT_KEY(Window),       TEXT_KEY(Story),
        TEXT_KEY(Credits),      TEXT_KEY(Help),
        TEXT_KEY(QuitCommand),  TEXT_KEY(Demo),
        TEXT_KEY(Meadowgunner), TEXT_KEY(ScreenModeHint),
        TEXT_KEY(BackMenu),     TEXT_KEY(OptionHint),
#undef TEXT_KEY
    };
    ForEachConfigLine(file.get(), kLanguageLineLimit, [&](const char* line) {
        for (const auto& key : kKeys) {
            if (LineHasKey(line, key.key)) {
                char* field = reinterpret_cast<char*>(texts) + key.offset;
                CopyText(field, key.width, line + strlen(key.key));
                return;
            }
        }
    });
}

void ReadConfigFiles(GameSettings* settings, ThemeFileNames* theme, LanguageTexts* texts) {
    ChosenFiles chosen;
    ReadSettingsFile("config.ini", settings, &chosen);
    if (!ReadThemeFile(chosen.themeFile, theme)) {
        exit(1);
    }
    ReadLanguageFile(chosen.languageFile, texts);
}
