#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "config/settings.h"
#include "test_support.h"
#include "text/bounded_text.h"

namespace {

GameSettings ReadSettingsText(const std::string& content, ChosenFiles* chosen = nullptr) {
    TempDir dir;
    dir.Write("config.ini", content);
    GameSettings settings;
    ChosenFiles ignored;
    ReadSettingsFile("config.ini", &settings, chosen != nullptr ? chosen : &ignored);
    return settings;
}

}  // namespace

TEST(BoundedText, CopyAndAppendTruncateAndTerminate) {
    char field[5];
    EXPECT_EQ(CopyText(field, "abcdefg"), 4u);
    EXPECT_STREQ(field, "abcd");
    CopyText(field, "ab");
    EXPECT_EQ(AppendText(field, "xyz"), 4u);
    EXPECT_STREQ(field, "abxy");
}

TEST(BoundedText, ParseDecimalFollowsAtoiAndSaturates) {
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("-17"), -17);
    EXPECT_EQ(ParseDecimal("+8"), 8);
    EXPECT_EQ(ParseDecimal("off"), 0);
    EXPECT_EQ(ParseDecimal("0-5"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT_MIN);
}

TEST(BoundedText, FormatDecimalWritesSignAndNoLeadingZeros) {
    char text[12];
    FormatDecimal(0, text);
    EXPECT_STREQ(text, "0");
    FormatDecimal(-15, text);
    EXPECT_STREQ(text, "-15");
    FormatDecimal(INT_MIN, text);
    EXPECT_STREQ(text, "-2147483648");
    char small[3];
    FormatDecimal(600, small);
    EXPECT_STREQ(small, "60");
}

TEST(SettingsFile, EmptyFileGivesEveryDefault) {
    GameSettings s = ReadSettingsText("");
    EXPECT_EQ(s.speedslow, 6);
    EXPECT_EQ(s.speedfast, 12);
    EXPECT_EQ(s.shiftslow, 1);
    EXPECT_EQ(s.speednormal, 12);
    EXPECT_EQ(s.speedshift, 6);
    EXPECT_EQ(s.sheepspeed, 3);
    EXPECT_EQ(s.sheepcolor1, 1);
    EXPECT_EQ(s.sheepcolor2, 0);
    EXPECT_EQ(s.sheepmax, 20);
    EXPECT_EQ(s.bloodtime, 300);
    EXPECT_EQ(s.explotime, 20);
    EXPECT_EQ(s.maxshots, 1);
    EXPECT_EQ(s.shotspeed, 12);
    EXPECT_EQ(s.exploanim, 20);
    EXPECT_EQ(s.frameduration, 30);
    EXPECT_EQ(s.sound, 0);
    EXPECT_EQ(s.fullscreen, 1);
    EXPECT_EQ(s.port, 65535);
    EXPECT_STREQ(s.serverip, "");
    EXPECT_STREQ(s.playername, "");
    EXPECT_STREQ(s.helpfile, "");
    EXPECT_STREQ(s.storyfile, "");
}

TEST(SettingsFile, MissingFileReportsAndKeepsDefaults) {
    TempDir dir;
    StderrCapture err;
    GameSettings s;
    ChosenFiles chosen;
    ReadSettingsFile("config.ini", &s, &chosen);
    EXPECT_EQ(err.Text(), "config.ini could not be opend");
    EXPECT_EQ(s.maxshots, 1);
    EXPECT_EQ(s.port, 65535);
    EXPECT_STREQ(chosen.themeFile, "");
    EXPECT_STREQ(chosen.languageFile, "");
}

TEST(SettingsFile, RangesRefuseAndKeepEarlierValues) {
    GameSettings s = ReadSettingsText(
        "maxshots=0\nexplotime=5\nexploanim=0\nport=65535\nport=0\n"
        "speedslow=7\nspeedslow=101\nframeduration=0\nsheepmax=21\nbloodtime=500\n");
    EXPECT_EQ(s.maxshots, 1);
    EXPECT_EQ(s.explotime, 20);
    EXPECT_EQ(s.exploanim, 20);
    EXPECT_EQ(s.port, 65535);
    EXPECT_EQ(s.speedslow, 7);
    EXPECT_EQ(s.frameduration, 30);
    EXPECT_EQ(s.sheepmax, 20);
    EXPECT_EQ(s.bloodtime, 500);
    EXPECT_EQ(ReadSettingsText("port=7882\n").port, 7882);
    EXPECT_EQ(ReadSettingsText("port=65534\n").port, 65534);
}

TEST(SettingsFile, HugeNumbersAreRefusedNotWrapped) {
    // 4294967297 would wrap to 1 in 32 bits and be accepted.
    GameSettings s = ReadSettingsText("maxshots=4294967297\nsheepmax=-4294967286\n");
    EXPECT_EQ(s.maxshots, 1);
    EXPECT_EQ(s.sheepmax, 20);
}

TEST(SettingsFile, SwitchRefusalsWriteLatin1WithoutLineEnd) {
    TempDir dir;
    dir.Write("config.ini", "fullscreen=0\nfullscreen=2\nsound=off\nsound=5\n");
    StderrCapture err;
    GameSettings s;
    ChosenFiles chosen;
    ReadSettingsFile("config.ini", &s, &chosen);
    EXPECT_EQ(err.Text(), "Ung\xfcltiger Wert f\xfcr fullscreenUng\xfcltiger Wert f\xfcr sound");
    EXPECT_EQ(s.fullscreen, 0);
    EXPECT_EQ(s.sound, 0);
}

TEST(SettingsFile, ShiftSlowSwapsTheDerivedSteps) {
    GameSettings s = ReadSettingsText("shiftslow=0\nspeedslow=4\nspeedfast=9\n");
    EXPECT_EQ(s.speednormal, 4);
    EXPECT_EQ(s.speedshift, 9);
}

TEST(SettingsFile, GrammarSkipsCommentsSectionsAndLooseKeys) {
    GameSettings s = ReadSettingsText(
        "; speedslow=1\n[match]\n speedslow=2\nspeedslow = 5\nSpeedSlow=5\n"
        "speedfast=20\r\nsheepspeed=\t 8\n");
    EXPECT_EQ(s.speedslow, 6);
    EXPECT_EQ(s.speedfast, 20);
    EXPECT_EQ(s.sheepspeed, 8);
}

TEST(SettingsFile, OnlyTheFirst300LinesAreRead) {
    std::string content;
    for (int i = 0; i < 299; ++i) {
        content += ";\n";
    }
    content += "speedslow=9\nspeedfast=30\n";
    GameSettings s = ReadSettingsText(content);
    EXPECT_EQ(s.speedslow, 9);
    EXPECT_EQ(s.speedfast, 12);
}

TEST(SettingsFile, LongLineContinuesAsTheNextLine) {
    // 98 characters are seen at once; the rest of the line is read as a line of its own.
    std::string content = ";" + std::string(97, 'x') + "speedslow=3\n";
    EXPECT_EQ(ReadSettingsText(content).speedslow, 3);
}

TEST(SettingsFile, SelectionCharactersChooseAmongLaterLines) {
    ChosenFiles chosen;
    GameSettings s = ReadSettingsText(
        "currenttheme=2\ntheme1=a.ini\ntheme2=b.ini\n"
        "currentlanguage=1\nhelpfile0=help0.txt\nhelpfile1=help1.txt\nstoryfile1=story1.txt\n"
        "language1=german.lng\ncurrentip=7\nmrIP1=10.0.0.1\nmrIP2=10.0.0.2\n"
        "currentplayername=3\nplayer3=Jo\n",
        &chosen);
    EXPECT_STREQ(chosen.themeFile, "b.ini");
    EXPECT_STREQ(chosen.languageFile, "german.lng");
    EXPECT_STREQ(s.helpfile, "help1.txt");
    EXPECT_STREQ(s.storyfile, "story1.txt");
    EXPECT_STREQ(s.serverip, "10.0.0.1");
    EXPECT_STREQ(s.playername, "Jo");
}

TEST(SettingsFile, LinesBeforeTheirSelectionAreNotTaken) {
    ChosenFiles chosen;
    GameSettings s = ReadSettingsText(
        "theme1=a.ini\ntheme2=b.ini\ncurrenttheme=2\nhelpfile0=early.txt\n"
        "currentlanguage=x\nlanguage0=zero.lng\nlanguage\nlanguage0\n",
        &chosen);
    EXPECT_STREQ(chosen.themeFile, "");
    EXPECT_STREQ(s.helpfile, "");
    // "x" selects language 0; "language" names no character, "language0" an empty name.
    EXPECT_STREQ(chosen.languageFile, "");
}

TEST(SettingsFile, LastAcceptedOccurrenceWinsAndValuesAreNotTrimmed) {
    ChosenFiles chosen;
    GameSettings s = ReadSettingsText(
        "currentlanguage=0\nhelpfile0=a.txt\nhelpfile0=b.txt \nsheepmax=5\nsheepmax=7\n", &chosen);
    EXPECT_STREQ(s.helpfile, "b.txt ");
    EXPECT_EQ(s.sheepmax, 7);
}

TEST(SettingsFile, LongValuesAreTruncatedToTheirFields) {
    ChosenFiles chosen;
    GameSettings s = ReadSettingsText("currentlanguage=0\nhelpfile0=" + std::string(60, 'h') +
                                          "\nlanguage0=" + std::string(80, 'l') + "\n",
                                      &chosen);
    EXPECT_EQ(std::string(s.helpfile), std::string(19, 'h'));
    EXPECT_EQ(std::string(chosen.languageFile), std::string(39, 'l'));
}

TEST(ThemeFile, PathsAreJoinedWithThePrefixOfTheirMoment) {
    TempDir dir;
    dir.Write("t.ini",
              "background=bare.png\nthemepath=themes/a\nshot=b.png\nBackground=x.png\n"
              " cannon1=y.png\nthemepath=themes/farm/\nsheeplw=sheep.png\nexplodesound=boom.wav\n");
    ThemeFileNames theme;
    ASSERT_TRUE(ReadThemeFile("t.ini", &theme));
    EXPECT_STREQ(theme.background, "bare.png");
    EXPECT_STREQ(theme.shot, "themes/ab.png");
    EXPECT_STREQ(theme.cannon1, "");
    EXPECT_STREQ(theme.sheeplw, "themes/farm/sheep.png");
    EXPECT_STREQ(theme.explodesound, "themes/farm/boom.wav");
    EXPECT_STREQ(theme.themepath, "themes/farm/");
}

TEST(ThemeFile, FallsBackToDefaultIniAndFailsWithoutIt) {
    TempDir dir;
    ThemeFileNames theme;
    {
        StderrCapture err;
        EXPECT_FALSE(ReadThemeFile("", &theme));
        EXPECT_EQ(err.Text(),
                  "theme file could not be opened! try to open default.ini\n"
                  "default.ini couldn't be opened.\n");
    }
    dir.Write("default.ini", "draw=d.png\n");
    StderrCapture err;
    EXPECT_TRUE(ReadThemeFile("missing.ini", &theme));
    EXPECT_EQ(err.Text(), "theme file could not be opened! try to open default.ini\n");
    EXPECT_STREQ(theme.draw, "d.png");
}

TEST(ThemeFile, LinesAfterTheHundredthAndLongPathsAreBounded) {
    TempDir dir;
    std::string content =
        "themepath=" + std::string(80, 'p') + "\nshot=" + std::string(30, 's') + "\n";
    for (int i = 0; i < 98; ++i) {
        content += ";\n";
    }
    content += "blood=late.png\n";
    dir.Write("t.ini", content);
    ThemeFileNames theme;
    ASSERT_TRUE(ReadThemeFile("t.ini", &theme));
    EXPECT_EQ(std::string(theme.shot), std::string(80, 'p') + std::string(19, 's'));
    EXPECT_STREQ(theme.blood, "");
}

TEST(LanguageFile, KeysNeedTheirEqualsSignAndFieldsAreBounded) {
    TempDir dir;
    dir.Write("en.lng",
              "QuitCommand=Press ESC\nOptions=Options\nOptionHint=hint\nStartGame=first\n"
              "StartGame=" +
                  std::string(29, 'S') + "\r\nBackMenu=" + std::string(20, 'b') +
                  "\nMeadowgunner=Meadow\xfc\n");
    LanguageTexts texts;
    ReadLanguageFile("en.lng", &texts);
    EXPECT_STREQ(texts.QuitCommand, "Press ESC");
    EXPECT_STREQ(texts.Quit, "");
    EXPECT_STREQ(texts.Options, "Options");
    EXPECT_STREQ(texts.OptionHint, "hint");
    EXPECT_EQ(std::string(texts.StartGame), std::string(29, 'S'));
    EXPECT_EQ(std::string(texts.BackMenu), std::string(9, 'b'));
    EXPECT_STREQ(texts.Meadowgunner, "Meadow\xfc");
}

TEST(LanguageFile, Line101IsNeverReadAndAMissingFileLeavesEmptyTexts) {
    TempDir dir;
    std::string content;
    for (int i = 0; i < 100; ++i) {
        content += "Help=help\n";
    }
    content += "Quit=late\n";
    dir.Write("en.lng", content);
    LanguageTexts texts;
    ReadLanguageFile("en.lng", &texts);
    EXPECT_STREQ(texts.Help, "help");
    EXPECT_STREQ(texts.Quit, "");

    StderrCapture err;
    ReadLanguageFile("none.lng", &texts);
    EXPECT_EQ(err.Text(), "language file could not be opened!\n");
    EXPECT_STREQ(texts.Help, "");
}

TEST(ReadConfigFiles, ChainsTheThreeFilesAndExitsWithoutAnyTheme) {
    TempDir dir;
    dir.Write("config.ini",
              "currenttheme=0\ntheme0=mine.ini\ncurrentlanguage=0\nlanguage0=en.lng\n");
    dir.Write("mine.ini", "themepath=t/\nshot=s.png\n");
    dir.Write("en.lng", "Demo=Watch\n");
    GameSettings settings;
    ThemeFileNames theme;
    LanguageTexts texts;
    ReadConfigFiles(&settings, &theme, &texts);
    EXPECT_STREQ(theme.shot, "t/s.png");
    EXPECT_STREQ(texts.Demo, "Watch");

    dir.Write("config.ini", "");
    EXPECT_EXIT(ReadConfigFiles(&settings, &theme, &texts), testing::ExitedWithCode(1),
                "default.ini couldn't be opened.");
}
