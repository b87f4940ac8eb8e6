// A run of hostile InputMessages, four bytes each, applied to player 2 of one dealt
// match: the remote pieces stay on the screen and no more shots fly than allowed.
#include <algorithm>
#include <cstdlib>

#include "fuzz_support.h"
#include "net/wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzTheme& theme = SharedTheme();
    GameSettings settings{};
    settings.speedslow = 6;
    settings.speedfast = 100;
    settings.maxshots = 3;
    settings.exploanim = 20;
    settings.sheepmax = 20;
    MatchTables tables{};
    MatchState match = MakeMatchState(&tables, settings, MatchStatus{});
    const ScreenSize screen{800, 600};
    srand(1);
    SetupMatch(&match, screen, &theme.assets, 0);
    gPreviousRemoteFire = 0;
    for (size_t at = 0; at + kInputMessageSize <= size; at += kInputMessageSize) {
        ApplyRemoteInput(&match, screen, DecodeInputMessage(data + at));
        for (int piece : {kCannon2, kShield2}) {
            const Sprite& sprite = match.pieces[piece];
            Require(sprite.x >= 0 && sprite.x <= screen.w - sprite.image->w, "piece off screen");
        }
        const Sprite* shots = match.shots[1];
        Require(
            std::count_if(shots, shots + kShotSlots,
                          [](const Sprite& shot) { return shot.state != 0; }) <= settings.maxshots,
            "too many shots");
    }
    return 0;
}
