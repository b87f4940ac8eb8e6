#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "themecheck/theme_check.h"

namespace {

const std::string kDataDir = MEADOW_DATA_DIR;

class ThemeCheckTest : public testing::Test {
   protected:
    void SetUp() override {
        static const bool mixerOpen = OpenCheckMixer();
        ASSERT_TRUE(mixerOpen) << SDL_GetError();
    }
};

// The shipped meadow theme with one key pointed at a file of broken/ (an empty name drops
// the key's line); each break gives exactly its own message.
struct BrokenCopy {
    const char* key;
    std::string file;
    int exploanim;
    const char* message;
};

TEST_F(ThemeCheckTest, BrokenCopiesGiveOneProblemEach) {
    const BrokenCopy copies[] = {
        {"border", "", 20, "border=: missing from the theme file"},
        {"blood", "absent.png", 20, "blood: broken/absent.png: cannot open it"},
        {"shot", "junk.png", 20, "shot: broken/junk.png: the game cannot read it as a picture"},
        {"winner", "rgb.bmp", 20, "winner: broken/rgb.bmp: has no 8-bit palette"},
        {"explosion", "wide.bmp", 20, "strip width 801 is not a multiple of exploanim 20"},
        {"explosion", "../themes/meadow/explosion.bmp", 3,
         "strip width 1280 is not a multiple of exploanim 3"},
        {"specialchar", "small.bmp", 20, "640 x 480 is too small for 28 cells"},
        {"abcbig", "flat.bmp", 20, "780 x 31 is too small for 26 cells"},
        {"explodesound", "junk.png", 20, "explodesound: broken/junk.png: SDL_mixer cannot"},
        {"sheeplw", "tall.bmp", 20, "80 pixels high: sheep must be less than 80"},
        {"sheeprb", "screenwide.bmp", 20, "800 pixels wide: sheep must be narrower"},
        {"cannon1", "wide.bmp", 20, "801 x 10 does not fit on the 800 x 600 screen"},
        {"background", "wide.bmp", 20, "801 x 10 is smaller than the 800 x 600 screen"},
        {"draw", std::string(92, 'x'), 20, "path of 99 characters or more"},
        {"shot", "opaque.bmp", 20, "shot: broken/opaque.bmp: top-left pixel is drawn"},
    };
    TempDir dir;
    std::filesystem::create_directory_symlink(kDataDir + "/themes", "themes");
    dir.Write("broken/junk.png", "not a picture\n");
    const struct {
        const char* name;
        int w, h;
        bool paletted;
    } pictures[] = {{"rgb.bmp", 500, 160, false},      {"wide.bmp", 801, 10, true},
                    {"screenwide.bmp", 800, 10, true}, {"tall.bmp", 48, 80, true},
                    {"small.bmp", 640, 480, true},     {"flat.bmp", 780, 31, true},
                    {"opaque.bmp", 8, 16, false}};
    for (const auto& picture : pictures) {
        // 0x000100: its first byte is 0, a key that no pixel of it matches
        SurfacePtr surface = picture.paletted ? MakePalettedSurface(picture.w, picture.h)
                                              : MakeSurface(picture.w, picture.h, 0x000100);
        ASSERT_EQ(SDL_SaveBMP(surface.get(), ("broken/" + std::string(picture.name)).c_str()), 0);
    }
    std::ifstream in(kDataDir + "/default.ini");
    std::vector<std::string> shipped;
    for (std::string line; std::getline(in, line);) {
        shipped.push_back(line);
    }
    for (const BrokenCopy& copy : copies) {
        SCOPED_TRACE(copy.message);
        std::ofstream theme("broken.ini");
        for (const std::string& line : shipped) {
            if (!copy.file.empty() || line.rfind(std::string(copy.key) + "=", 0) != 0) {
                theme << line << "\n";
            }
        }
        if (!copy.file.empty()) {
            theme << "themepath=broken/\n" << copy.key << "=" << copy.file << "\n";
        }
        theme.close();
        std::vector<std::string> problems = CheckTheme("broken.ini", copy.exploanim);
        ASSERT_EQ(problems.size(), 1u) << (problems.empty() ? "" : problems[0]);
        EXPECT_NE(problems[0].find(copy.message), std::string::npos) << problems[0];
    }
}

TEST_F(ThemeCheckTest, ThemeFileAndExploanimComeFromTheWorkingDirectory) {
    TempDir dir;
    EXPECT_EQ(ExploanimFromSettings(), 20);
    dir.Write("config.ini", "exploanim=16\n");
    EXPECT_EQ(ExploanimFromSettings(), 16);
    EXPECT_EQ(CheckTheme("absent.ini", 20),
              std::vector<std::string>{
                  "absent.ini: cannot open the theme file: No such file or directory"});
}

}  // namespace
