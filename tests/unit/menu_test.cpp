// The menu's pointer bands and locks, and the start-up switch.
#include "app/menu.h"

#include <vector>

#include "app/startup.h"
#include "test_support.h"

TEST(MenuEntryAt, NineBandsOf38RowsEvery40RowsBetweenColumns221And639) {
    for (int entry = 1; entry <= 9; ++entry) {
        const int top = 146 + 40 * (entry - 1);
        EXPECT_EQ(std::vector({MenuEntryAt(221, top), MenuEntryAt(639, top + 37),
                               MenuEntryAt(400, top - 1), MenuEntryAt(400, top + 38),
                               MenuEntryAt(220, top), MenuEntryAt(640, top)}),
                  std::vector({entry, entry, 0, 0, 0, 0}));
    }
}

// The splash ended on a held click with Escape down; then the right button alone keeps
// the click lock, and each lock clears once its input was seen up, for good.
TEST(MenuLocks, EachLockClearsOnlyOnceItsInputWasSeenUp) {
    MenuLocks locks = {true, true, true};
    FakeKeys keys;
    std::string seen;
    for (auto [buttons, escape] :
         {std::pair(SDL_BUTTON(3), 1), {0, 1}, {SDL_BUTTON(1), 0}, {SDL_BUTTON(1), 1}}) {
        keys.buttons = Uint8(buttons);
        keys.held[SDLK_ESCAPE] = Uint8(escape);
        ReleaseMenuLocks(&locks, keys.Snapshot());
        seen += std::to_string(locks.click) + std::to_string(locks.escape) + " ";
    }
    EXPECT_EQ(seen, "11 11 00 00 ");
}

// The program's own path counts too; a capital F or an f without a slash before it does not.
TEST(Startup, FullscreenWhenAnyArgumentHoldsASlashAndASmallF) {
    std::string seen;
    for (std::vector<const char*> args : {std::vector{"./meadowgunner"},
                                          {"./meadowgunner", "/f"},
                                          {"./meadowgunner", "/F", "f/", "-f"},
                                          {"./meadowgunner", "-x", "abc/fullscreen"},
                                          {"/opt/games/foo/meadowgunner"}}) {
        seen += WantsFullscreen(int(args.size()), const_cast<char**>(args.data())) ? '1' : '0';
    }
    EXPECT_EQ(seen, "01011");
}
