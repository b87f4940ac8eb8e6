#include "app/screens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_support.h"
#include "text/bounded_text.h"

namespace {

using FilePtr = std::unique_ptr<FILE, FileCloser>;

std::string Repeat(char c, int count) {
    return std::string(static_cast<size_t>(count), c);
}

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    return text;
}

// What the next read of the file gives: shows how far the helpers read.
std::string NextLine(FILE* file) {
    char buffer[200];
    return fgets(buffer, sizeof buffer, file) == nullptr ? "<end>" : buffer;
}

TEST(ReadHelpLines, LongLinesSpillIntoTheNextRowOf48Bytes) {
    TempDir dir;
    dir.Write("help.txt", Repeat('a', 60) + "\nsecond\n" + Repeat('b', 48) + "\nlast\n");
    FilePtr file(fopen("help.txt", "r"));
    char lines[kScreenLines][kHelpLineSize];
    memset(lines, 'x', sizeof lines);

    ReadHelpLines(file.get(), lines);

    EXPECT_EQ(std::string(lines[0]), Repeat('a', 48));
    EXPECT_EQ(std::string(lines[1]), Repeat('a', 12) + "\n");
    EXPECT_EQ(std::string(lines[2]), "second\n");
    EXPECT_EQ(std::string(lines[3]), Repeat('b', 48));
    EXPECT_EQ(std::string(lines[4]), "\n");  // the line end of a 48-byte line is a row too
    EXPECT_EQ(std::string(lines[5]), "last\n");
    for (int row = 6; row < kScreenLines; ++row) {
        EXPECT_EQ(lines[row][0], '\0') << "row " << row;
    }
}

TEST(ReadHelpLines, FiveLinesLeaveTheOtherSevenRowsEmpty) {
    TempDir dir;
    dir.Write("help.txt", NumberedLines(5));
    FilePtr file(fopen("help.txt", "r"));
    char lines[kScreenLines][kHelpLineSize];
    memset(lines, 'x', sizeof lines);

    ReadHelpLines(file.get(), lines);

    EXPECT_EQ(std::string(lines[4]), "line 5\n");
    for (int row = 5; row < kScreenLines; ++row) {
        EXPECT_EQ(lines[row][0], '\0') << "row " << row;
    }
}

TEST(ReadHelpLines, ReadsExactlyTwelveRows) {
    TempDir dir;
    dir.Write("help.txt", Repeat('c', 60) + "\n" + NumberedLines(20));
    FilePtr file(fopen("help.txt", "r"));
    char lines[kScreenLines][kHelpLineSize];

    ReadHelpLines(file.get(), lines);

    // The long line took two rows, so the twelfth row is the file's line 10.
    EXPECT_EQ(std::string(lines[11]), "line 10\n");
    EXPECT_EQ(NextLine(file.get()), "line 11\n");
}

TEST(ReadStoryLines, StopsAfterTwelveRows) {
    TempDir dir;
    dir.Write("story.txt", Repeat('s', 120) + "\n" + NumberedLines(15));
    FilePtr file(fopen("story.txt", "r"));
    char lines[kScreenLines][kStoryLineSize];

    ReadStoryLines(file.get(), lines);

    EXPECT_EQ(std::string(lines[0]), Repeat('s', 98));
    EXPECT_EQ(std::string(lines[1]), Repeat('s', 22) + "\n");
    EXPECT_EQ(std::string(lines[11]), "line 10\n");
    EXPECT_EQ(NextLine(file.get()), "line 11\n");
}

TEST(ReadStoryLines, AShortFileLeavesTheRestEmpty) {
    TempDir dir;
    dir.Write("story.txt", "once\nupon a time");  // the last line has no line end
    FilePtr file(fopen("story.txt", "r"));
    char lines[kScreenLines][kStoryLineSize];
    memset(lines, 'x', sizeof lines);

    ReadStoryLines(file.get(), lines);

    EXPECT_EQ(std::string(lines[0]), "once\n");
    EXPECT_EQ(std::string(lines[1]), "upon a time");
    for (int row = 2; row < kScreenLines; ++row) {
        EXPECT_EQ(lines[row][0], '\0') << "row " << row;
    }
}

TEST(OpenStoryFile, OpensTheChosenFileSilently) {
    TempDir dir;
    dir.Write("gerstory.txt", "Es war einmal\n");
    dir.Write("engstory.txt", "Once upon a time\n");
    StderrCapture captured;

    FilePtr file = OpenStoryFile("gerstory.txt");

    ASSERT_TRUE(file);
    EXPECT_EQ(NextLine(file.get()), "Es war einmal\n");
    EXPECT_EQ(captured.Text(), "");
}

TEST(OpenStoryFile, FallsBackToTheEnglishStory) {
    TempDir dir;
    dir.Write("engstory.txt", "Once upon a time\n");
    StderrCapture captured;

    FilePtr file = OpenStoryFile("missing.txt");

    ASSERT_TRUE(file);
    EXPECT_EQ(NextLine(file.get()), "Once upon a time\n");
    EXPECT_EQ(captured.Text(),
              "storyfile missing.txt could not be opend! trying to open default file "
              "engstory.txt");
}

TEST(OpenStoryFile, ReportsBothFailures) {
    TempDir dir;
    StderrCapture captured;

    FilePtr file = OpenStoryFile("");

    EXPECT_FALSE(file);
    EXPECT_EQ(captured.Text(),
              "storyfile  could not be opend! trying to open default file "
              "engstory.txtengstory.txt couldn't be opened.\n");
}

TEST(BackButtonHit, CoversColumns20To195AndTheBorderHeightInclusive) {
    // 600 rows, border 40 high: the button spans rows 540 to 580.
    EXPECT_TRUE(BackButtonHit(20, 540, 600, 40));
    EXPECT_TRUE(BackButtonHit(195, 580, 600, 40));
    EXPECT_FALSE(BackButtonHit(19, 560, 600, 40));
    EXPECT_FALSE(BackButtonHit(196, 560, 600, 40));
    EXPECT_FALSE(BackButtonHit(100, 539, 600, 40));
    EXPECT_FALSE(BackButtonHit(100, 581, 600, 40));
    EXPECT_TRUE(BackButtonHit(100, 320, 400, 60));  // 400 rows, border 60: rows 320 to 380
    EXPECT_TRUE(BackButtonHit(100, 380, 400, 60));
    EXPECT_FALSE(BackButtonHit(100, 319, 400, 60));
    EXPECT_FALSE(BackButtonHit(100, 381, 400, 60));
}

// A screen reached from the menu, with a window-close request waiting in the queue.
void OpenWithCloseRequestPending(void (*show)(SDL_Surface*, TextStyle*, SDL_Rect,
                                              const GameSettings*, const LanguageTexts*),
                                 const char* helpfile) {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Surface* screen = SDL_SetVideoMode(800, 600, 0, 0);
    SurfacePtr sheet = MakeSurface(30 * 28, 32);
    SurfacePtr border = MakeSurface(420, 40);
    TextStyle style = {sheet.get(), sheet.get(), sheet.get(), sheet.get(), border.get()};
    GameSettings settings = {};
    CopyText(settings.helpfile, helpfile);
    LanguageTexts texts = {};
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    show(screen, &style, {0, 0, 0, 0}, &settings, &texts);
}

TEST(SubScreenDeathTest, AWindowCloseRequestEndsTheProgramWithStatusZero) {
    // No TempDir here: the child ends in exit(0) and would leave its folder behind.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(OpenWithCloseRequestPending(ShowHelp, "no-such-help.txt"),
                ::testing::ExitedWithCode(0), "help file no-such-help.txt could not be opened!");
    EXPECT_EXIT(OpenWithCloseRequestPending(ShowOptions, ""), ::testing::ExitedWithCode(0), "");
}

}  // namespace
