// The screens behind the menu: where each draws its texts and the back button, what it
// does without its file, and where the back button can be clicked.
#include "app/screens.h"

#include <vector>

#include "test_support.h"
#include "text/bounded_text.h"

// 400 rows and a border 60 high: the button spans columns 20 to 195 and rows 320 to 380.
TEST(BackButtonHit, CoversColumns20To195AndTheBorderHeightInclusive) {
    std::string hits;
    for (auto [x, y] :
         {std::pair(20, 320), {195, 380}, {19, 350}, {196, 350}, {100, 319}, {100, 381}}) {
        hits += BackButtonHit(x, y, 400, 60) ? '1' : '0';
    }
    EXPECT_EQ(hits, "110000");
}

// Each screen runs until an Escape pressed from outside once it has drawn a pass, with
// glyph sheets of one colour and a border of another. Each case: the screen, the help or
// story file it is given, a file written before it ("help.txt" with rows of 48 bytes, or
// the English story), where it draws ("x,y:g" a glyph, "x,y:-" nothing, "x,y:b" the back
// button) and what it writes to the error stream. A missing story falls back to
// engstory.txt.
TEST(Screens, EachDrawsItsTextsAndTheBackButtonWhereTheyBelong) {
    SDL_Init(SDL_INIT_VIDEO);
    TempDir dir;
    LanguageTexts texts{};
    CopyText(texts.Story, "S");
    CopyText(texts.ScreenModeHint, "M");
    CopyText(texts.OptionHint, "O");
    SurfacePtr sheet = MakeSurface(30 * 28, 32, 'g'), border = MakeSurface(420, 40, 'b');
    TextStyle style{sheet.get(), sheet.get(), sheet.get(), sheet.get(), border.get()};
    const std::string fallback =
        "storyfile de.txt could not be opend! trying to open default file engstory.txt";
    const struct {
        decltype(&ShowHelp) show;
        const char *file, *write;
        std::vector<const char*> probes;
        std::string errors;
    } cases[] = {
        {ShowHelp,
         "help.txt",
         "help.txt",
         {"315,80:g", "40,199:-", "40,200:g", "40,240:-", "20,540:b"},
         ""},
        {ShowHelp,
         "none.txt",
         "",
         {"40,40:-", "40,300:g"},
         "help file none.txt could not be opened!\n"},
        {ShowStory,
         "de.txt",
         "",
         {"225,30:g", "30,100:g", "30,135:-"},
         fallback + "engstory.txt couldn't be opened.\n"},
        {ShowStory,
         "de.txt",
         "engstory.txt",
         {"30,100:g", "30,134:-", "30,135:g", "30,170:-"},
         fallback},
        {ShowOptions, "", "", {"20,100:g", "20,200:g", "225,45:g", "373,45:g", "374,45:-"}, ""},
    };
    for (const auto& c : cases) {
        if (*c.write != '\0') {
            dir.Write(c.write,
                      c.show == ShowHelp ? std::string(60, 'A') + "\nC\nD\nE\n" : "A\nB\n");
        }
        GameSettings settings{};
        CopyText(settings.helpfile, c.file);
        CopyText(settings.storyfile, c.file);
        SurfacePtr screen = MakeSurface(800, 600, 'b');
        testing::internal::CaptureStderr();
        {
            KeyPressLater escape(SDLK_ESCAPE, [&] { return PixelAt(screen.get(), 0, 0) == 0; });
            c.show(screen.get(), &style, {0, 0, 0, 0}, &settings, &texts);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.errors);
        for (const char* probe : c.probes) {
            int x, y;
            char what;
            sscanf(probe, "%d,%d:%c", &x, &y, &what);
            EXPECT_EQ(PixelAt(screen.get(), x, y), what == '-' ? 0u : Uint32(what)) << probe;
        }
    }
    SDL_Quit();
}
