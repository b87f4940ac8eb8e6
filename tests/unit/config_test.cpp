// The three configuration files on their shared line grammar: config.ini's values,
// ranges and selections, the theme file's paths and the language file's texts.

#include <cstdio>

#include "config/settings.h"
#include "test_support.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// What ReadSettingsFile made of a config.ini holding content: every number in the
// record's order, then the texts and the chosen file names; and what it wrote.
std::pair<std::string, std::string> ReadSettings(const std::string& content, bool exists = true) {
    TempDir dir;
    if (exists) {
        dir.Write("config.ini", content);
    }
    GameSettings s;
    ChosenFiles c;
    CaptureStderr();
    ReadSettingsFile("config.ini", &s, &c);
    const std::string errors = GetCapturedStderr();
    return {
        Numbers(s.speedslow, s.speedfast, s.shiftslow, s.speednormal, s.speedshift, s.sheepspeed,
                s.sheepcolor1, s.sheepcolor2, s.sheepmax, s.bloodtime, s.explotime, s.maxshots,
                s.shotspeed, s.exploanim, s.frameduration, s.sound, s.fullscreen, s.port) +
            "|" + s.serverip + "|" + s.playername + "|" + s.helpfile + "|" + s.storyfile + "|" +
            c.themeFile + "|" + c.languageFile,
        errors};
}

const std::string kDefaults = "6 12 1 12 6 3 1 0 20 300 20 1 12 20 30 0 1 65535";

// Each case: the numbers it gives. An empty file gives the defaults, a missing one says
// so; refused values keep the earlier ones; frameduration 0 becomes 30; shiftslow 0 swaps
// the derived steps; skipped, loose and miscapitalised keys set nothing; blanks may lead
// a number; lines are read 98 characters at a time. Only the switches report a refusal.
TEST(SettingsFile, LinesSetTheirNumbersWithinTheirRanges) {
    const std::pair<std::string, std::string> cases[] = {
        {"", kDefaults},
        {"maxshots=0\nexplotime=10\nexplotime=9\nexploanim=0\nsheepmax=21\nbloodtime=500",
         "6 12 1 12 6 3 1 0 20 500 10 1 12 20 30 0 1 65535"},
        {"maxshots=20\nsheepmax=-4294967286\nspeedslow=7\nspeedslow=101\nframeduration=0",
         "7 12 1 12 7 3 1 0 20 300 20 20 12 20 30 0 1 65535"},
        {"maxshots=4294967297\nport=65535\nport=0\nsound=off\nfullscreen=0\nfullscreen=2",
         "6 12 1 12 6 3 1 0 20 300 20 1 12 20 30 0 0 65535"},
        {"shiftslow=0\nspeedslow=4\nspeedfast=9\nport=65534\nframeduration=100",
         "4 9 0 4 9 3 1 0 20 300 20 1 12 20 100 0 1 65534"},
        {"; speedslow=1\n[x]\n speedslow=2\nspeedslow = 5\nSpeedSlow=5\nspeedfast=20\r\n"
         "sheepspeed=\t 8",
         "6 20 1 20 6 8 1 0 20 300 20 1 12 20 30 0 1 65535"},
        {";" + std::string(97, 'x') + "sheepmax=3",
         "6 12 1 12 6 3 1 0 3 300 20 1 12 20 30 0 1 65535"},
    };
    for (const auto& [content, numbers] : cases) {
        EXPECT_EQ(ReadSettings(content).first, numbers + "||||||") << content;
    }
    EXPECT_EQ(
        ReadSettings("", false).second + "|" + ReadSettings("fullscreen=2\nsound=5").second,
        "config.ini could not be opend|Ung\xfcltiger Wert f\xfcr fullscreenUng\xfcltiger Wert "
        "f\xfcr sound");
}

// Each case: serverip, playername, helpfile, storyfile, the theme and the language file.
// A selection line chooses among the lines after it; an unknown character selects 0 (or
// 1 for addresses and names); a value is everything after "c=", cut to its field.
TEST(SettingsFile, SelectionLinesChooseAmongTheLinesAfterThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"currenttheme=2\ntheme1=a.ini\ntheme2=b.ini\ncurrentlanguage=1\nhelpfile0=h0\n"
         "helpfile1=h1\nstoryfile1=s1\nlanguage1=de.lng\ncurrentip=7\nmrIP1=10.0.0.1\nmrIP2=2\n"
         "currentplayername=3\nplayer3=Jo",
         "10.0.0.1|Jo|h1|s1|b.ini|de.lng"},
        {"theme2=b.ini\nhelpfile0=early\ncurrenttheme=2\ncurrentlanguage=x\nhelpfile0=a\n"
         "helpfile0=b \nlanguage0=en.lng\nlanguage\nlanguage0\ncurrentip=0\nmrIP0=0\nmrIP1=1",
         "1||b |||"},
        {"currentlanguage=0\nhelpfile0=" + std::string(60, 'h') +
             "\nlanguage0=" + std::string(80, 'l'),
         "||" + std::string(19, 'h') + "|||" + std::string(39, 'l')},
    };
    for (const auto& [content, texts] : cases) {
        EXPECT_EQ(ReadSettings(content).first, kDefaults + "|" + texts) << content;
    }
}

// config.ini names the theme and language files; a theme path joins the themepath of its
// moment. Language keys are tested with their "=", so Quit= does not take a QuitCommand=
// line; line ends stay out of the texts; a repeated key keeps its last text; texts are
// cut to their fields; line 101 is never read. Without a chosen theme file default.ini
// is read, without either the program ends; a missing language file leaves empty texts.
TEST(ReadConfigFiles, ChainsTheThreeFilesFallingBackToDefaultIni) {
    TempDir dir;
    dir.Write("config.ini", "currenttheme=0\ntheme0=t.ini\ncurrentlanguage=0\nlanguage0=en.lng\n");
    dir.Write("t.ini", "shot=bare.png\nthemepath=t/\nblood=b.png\nthemepath=u\nwinner=w.png\n");
    std::string language = "QuitCommand=Press ESC\r\nDemo=first\nDemo=" + std::string(29, 'S') +
                           "\nBackMenu=" + std::string(20, 'b') + "\nMeadowgunner=Meadow\xfc\r\n";
    for (int i = 0; i < 95; ++i) {
        language += ";\n";
    }
    dir.Write("en.lng", language + "Quit=late\n");
    GameSettings settings;
    ThemeFileNames theme;
    LanguageTexts texts;
    ReadConfigFiles(&settings, &theme, &texts);
    EXPECT_EQ(std::string(theme.shot) + "|" + theme.blood + "|" + theme.winner + "|" +
                  texts.QuitCommand + "|" + texts.Quit + "|" + texts.Demo + "|" + texts.BackMenu +
                  "|" + texts.Meadowgunner,
              "bare.png|t/b.png|uw.png|Press ESC||" + std::string(29, 'S') + "|" +
                  std::string(9, 'b') + "|Meadow\xfc");
    dir.Write("config.ini", "");
    dir.Write("default.ini", "draw=d.png\n");
    CaptureStderr();
    ReadConfigFiles(&settings, &theme, &texts);
    EXPECT_EQ(GetCapturedStderr() + theme.draw + texts.QuitCommand,
              "theme file could not be opened! try to open default.ini\n"
              "language file could not be opened!\nd.png");
    std::remove("default.ini");
    EXPECT_EXIT(ReadConfigFiles(&settings, &theme, &texts), testing::ExitedWithCode(1),
                "try to open default.ini\ndefault.ini couldn't be opened.\n");
}
