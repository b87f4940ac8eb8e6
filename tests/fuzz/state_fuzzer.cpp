// A hostile StateMessage into a dealt match, then the client's frame steps that follow
// it: outcome, drawing and erasing on an 800 x 600 screen. Shorter inputs are padded
// with zero bytes, as a short read into the zeroed receive buffer would leave it.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "match/match_rules.h"
#include "match/match_view.h"
#include "net/wire.h"

namespace {

GameSettings DefaultSettings() {
    GameSettings s{};
    s.speedslow = 6;
    s.speedfast = 12;
    s.sheepspeed = 3;
    s.sheepmax = 20;
    s.bloodtime = 300;
    s.explotime = 20;
    s.maxshots = 10;
    s.shotspeed = 12;
    s.exploanim = 20;
    s.frameduration = 30;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char message[kStateMessageSize] = {};
    memcpy(message, data, std::min(size, sizeof message));
    const FuzzTheme& theme = SharedTheme();
    MatchTables tables{};
    MatchStatus status{};
    std::copy_n(theme.assets.pictures, 4, status.pictures);
    MatchState match = MakeMatchState(&tables, DefaultSettings(), status);
    const ScreenSize screen{800, 600};
    srand(1);
    SetupMatch(&match, screen, &theme.assets, 0);
    DecodeStateMessage(message, &match, screen);
    UpdateOutcome(&match);
    DrawMatch(&match, theme.screen, &theme.style);
    Require(match.drawnCount >= 0 && match.drawnCount <= kDrawnAreaCapacity, "drawn areas");
    EraseDrawnAreas(theme.background.get(), theme.screen, match.drawnAreas, match.drawnCount);
    return 0;
}
