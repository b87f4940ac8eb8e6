// A hostile StateMessage into a dealt match, then the client's frame steps that follow
// it: outcome, drawing and erasing on an 800 x 600 screen. Shorter inputs are padded
// with zero bytes, as the zeroed receive buffer would be.
#include <algorithm>

#include "fuzz_support.h"
#include "match/match_rules.h"
#include "match/match_view.h"
#include "net/wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char message[kStateMessageSize] = {};
    memcpy(message, data, std::min(size, sizeof message));
    const FuzzTheme& theme = SharedTheme();
    MatchTables tables;
    MatchState match;
    DealMatch(&tables, &match, kShotSlots);
    DecodeStateMessage(message, &match, ScreenSize{800, 600});
    UpdateOutcome(&match);
    DrawMatch(&match, theme.screen, &theme.style);
    EraseDrawnAreas(theme.background, theme.screen, match.drawnAreas, match.drawnCount);
    return 0;
}
