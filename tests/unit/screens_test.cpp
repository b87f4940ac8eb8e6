#include "app/screens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "text/bounded_text.h"

namespace {

using FilePtr = std::unique_ptr<FILE, FileCloser>;
using Rows = std::vector<std::string>;

// What the next read of the file gives: shows how far a reader went.
std::string NextLine(FILE* file) {
    char buffer[200];
    return fgets(buffer, sizeof buffer, file) == nullptr ? "<end>" : buffer;
}

// The twelve rows a reader leaves (an untouched row shows its 'x' filler), then what the
// next read of the file gives.
template <int Size>
Rows ReadRows(void (*read)(FILE*, char (*)[Size]), std::string text) {
    FilePtr file(fmemopen(text.data(), text.size(), "r"));
    char lines[kScreenLines][Size];
    memset(lines, 'x', sizeof lines);
    read(file.get(), lines);
    Rows rows;
    for (const char* row : lines) {
        rows.emplace_back(row, strnlen(row, Size));
    }
    rows.push_back(NextLine(file.get()));
    return rows;
}

TEST(ReadHelpLines, MakesTwelveReadsOf48Bytes) {
    const std::string b(48, 'b');  // its line end takes a row of its own
    EXPECT_EQ(ReadRows(ReadHelpLines,
                       std::string(60, 'a') + "\n" + b + "\n1\n2\n3\n4\n5\n6\n7\n8\nnext\n"),
              (Rows{std::string(48, 'a'), std::string(12, 'a') + "\n", b, "\n", "1\n", "2\n", "3\n",
                    "4\n", "5\n", "6\n", "7\n", "8\n", "next\n"}));
    EXPECT_EQ(ReadRows(ReadHelpLines, "only\n"),
              (Rows{"only\n", "", "", "", "", "", "", "", "", "", "", "", "<end>"}));
}

TEST(ReadStoryLines, StopsAfterTwelveReadsOf98BytesOrAtTheEnd) {
    const std::string s(120, 's');
    EXPECT_EQ(ReadRows(ReadStoryLines, s + "\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\nnext\n"),
              (Rows{std::string(98, 's'), std::string(22, 's') + "\n", "1\n", "2\n", "3\n", "4\n",
                    "5\n", "6\n", "7\n", "8\n", "9\n", "10\n", "next\n"}));
    EXPECT_EQ(ReadRows(ReadStoryLines, "once\nupon a time"),
              (Rows{"once\n", "upon a time", "", "", "", "", "", "", "", "", "", "", "<end>"}));
}

// The first line of the story that opened (or "<none>"), and what went to stderr.
std::pair<std::string, std::string> OpenStory(const char* storyfile) {
    StderrCapture captured;
    FilePtr file = OpenStoryFile(storyfile);
    std::string first = file ? NextLine(file.get()) : "<none>";
    return {first, captured.Text()};
}

TEST(OpenStoryFile, FallsBackToTheEnglishStoryAndReportsEachFailure) {
    using Opened = std::pair<std::string, std::string>;
    const std::string fallback =
        "storyfile gerstory.txt could not be opend! trying to open default file engstory.txt";
    TempDir dir;
    EXPECT_EQ(OpenStory("gerstory.txt"),
              Opened("<none>", fallback + "engstory.txt couldn't be opened.\n"));
    dir.Write("engstory.txt", "Once upon a time\n");
    EXPECT_EQ(OpenStory("gerstory.txt"), Opened("Once upon a time\n", fallback));
    dir.Write("gerstory.txt", "Es war einmal\n");
    EXPECT_EQ(OpenStory("gerstory.txt"), Opened("Es war einmal\n", ""));
}

TEST(BackButtonHit, CoversColumns20To195AndTheBorderHeightInclusive) {
    // 400 rows, border 60 high: the button spans rows 320 to 380.
    EXPECT_TRUE(BackButtonHit(20, 320, 400, 60));
    EXPECT_TRUE(BackButtonHit(195, 380, 400, 60));
    EXPECT_FALSE(BackButtonHit(19, 350, 400, 60));
    EXPECT_FALSE(BackButtonHit(196, 350, 400, 60));
    EXPECT_FALSE(BackButtonHit(100, 319, 400, 60));
    EXPECT_FALSE(BackButtonHit(100, 381, 400, 60));
}

TEST(ShowHelpDeathTest, ReportsAMissingFileAndEndsWithStatusZeroOnAWindowCloseRequest) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // No TempDir here: the child ends in exit(0) and would leave its folder behind.
    auto showHelpWithCloseRequestPending = [] {
        SDL_Init(SDL_INIT_VIDEO);
        SurfacePtr screen = MakeSurface(800, 600);
        SurfacePtr border = MakeSurface(420, 40);
        TextStyle style = {nullptr, nullptr, nullptr, nullptr, border.get()};
        GameSettings settings = {};
        CopyText(settings.helpfile, "no-such-help.txt");
        LanguageTexts texts = {};
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        ShowHelp(screen.get(), &style, {0, 0, 0, 0}, &settings, &texts);
    };
    EXPECT_EXIT(showHelpWithCloseRequestPending(), ::testing::ExitedWithCode(0),
                "help file no-such-help.txt could not be opened!\n");
}

}  // namespace
