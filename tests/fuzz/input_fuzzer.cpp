// A run of hostile InputMessages, four bytes each, applied to player 2 of one dealt
// match: the remote pieces stay on the screen and no more shots fly than allowed.
#include <algorithm>

#include "fuzz_support.h"
#include "net/wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int kMaxShots = 3;
    MatchTables tables;
    MatchState match;
    DealMatch(&tables, &match, kMaxShots);
    const ScreenSize screen{800, 600};
    gPreviousRemoteFire = 0;
    for (size_t at = 0; at + kInputMessageSize <= size; at += kInputMessageSize) {
        ApplyRemoteInput(&match, screen, DecodeInputMessage(data + at));
        for (int piece : {kCannon2, kShield2}) {
            const Sprite& sprite = match.pieces[piece];
            Require(sprite.x >= 0 && sprite.x <= screen.w - sprite.image->w, "piece off screen");
        }
        Require(std::count_if(match.shots[1], match.shots[1] + kShotSlots,
                              [](const Sprite& shot) { return shot.state != 0; }) <= kMaxShots,
                "too many shots");
    }
    return 0;
}
