// The local match loop, run until an Escape pressed from outside.
#include "match/local_match.h"

#include <cstring>

#include "test_support.h"

// In the match the person's pieces stay where no key moves them while the computer plays
// player 2; in the demo it plays player 1 as well. Every frame puts the background back
// over all it drew, so the screen is the background again when the loop returns.
TEST(LocalMatch, TheComputerPlaysItsSidesAndEveryFrameErasesWhatItDrew) {
    SDL_Init(SDL_INIT_VIDEO);
    TestMatch pictures;
    SurfacePtr background = MakeSurface(800, 600, 0x00405060), sheet = MakeSurface(840, 32, 1);
    const TextStyle style{sheet.get(), sheet.get(), sheet.get(), sheet.get(), sheet.get()};
    GameSettings settings = kMatchSettings;
    settings.frameduration = 1;
    for (int demo : {0, 1}) {
        SurfacePtr screen = MakeSurface(800, 600);
        MatchTables tables{};
        MatchStatus status{};
        status.demo = demo;
        {
            // Player 2's first shot, or in the demo player 1's, ends the match.
            KeyPressLater escape(SDLK_ESCAPE, [&] { return tables.shots[1 - demo][0].state != 0; });
            LocalMatch({screen.get(), background.get(), &pictures.assets, &tables}, settings,
                       status, style);
        }
        const bool moved = tables.pieces[kCannon1].x != 380 || tables.pieces[kShield1].x != 370;
        EXPECT_EQ(moved || tables.shots[0][0].state != 0, demo == 1);
        EXPECT_EQ(memcmp(screen->pixels, background->pixels, 600 * screen->pitch), 0) << demo;
    }
    SDL_Quit();
}
