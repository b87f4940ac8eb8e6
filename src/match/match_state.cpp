#include "match/match_state.h"

#include <algorithm>
#include <cstdlib>

int RandomBelow(int n) {
    int r = rand();
    return n > 0 ? r % n : 0;
}

SDL_Surface* SheepImageFor(const MatchState& match, int colour, int direction) {
    int index = direction == 1 ? colour + 1 : colour - 1;
    return match.sheepImages[std::clamp(index, 0, 3)].image;
}

MatchState MakeMatchState(MatchTables* tables, const GameSettings& settings,
                          const MatchStatus& status) {
    MatchState match{};
    match.pieces = tables->pieces;
    match.sheepImages = tables->sheepImages;
    match.shots = tables->shots;
    match.explosions = tables->explosions;
    match.blood = tables->blood;
    match.settings = settings;
    match.status = status;
    return match;
}

namespace {

void PlacePiece(Sprite* piece, int x, int y, SDL_Surface* image) {
    *piece = Sprite{x, y, 1, 0, 0, image};
}

void ClearSprites(Sprite* sprites, int count, SDL_Surface* image) {
    for (int i = 0; i < count; ++i) {
        sprites[i] = Sprite{0, 0, 0, 0, 0, image};
    }
}

void DealHerd(MatchState* match, int herd, ScreenSize screen) {
    int colourSetting = herd == 0 ? match->settings.sheepcolor1 : match->settings.sheepcolor2;
    for (int j = 0; j < kHerdSize; ++j) {
        Sprite& sheep = match->herds[herd][j];
        sheep.state = j < match->settings.sheepmax ? 1 : 0;
        sheep.direction = RandomBelow(2) == 1 ? 1 : -1;
        sheep.colour = colourSetting == 0 ? RandomBelow(2) + 1 : colourSetting;
        sheep.image = SheepImageFor(*match, sheep.colour, sheep.direction);
        sheep.x = RandomBelow(screen.w - sheep.image->w);
        int slack = RandomBelow(kHerdStripHeight - sheep.image->h);
        sheep.y = herd == 0 ? (screen.h - sheep.image->h) - slack : slack;
    }
}

}  // namespace

void SetupMatch(MatchState* match, ScreenSize screen, const ThemeAssets* assets, Uint32 now) {
    GameSettings& settings = match->settings;
    // Each player has ten shot slots; a larger setting would index past them.
    settings.maxshots = std::clamp(settings.maxshots, 0, kShotSlots);

    for (int i = 0; i < 4; ++i) {
        match->sheepImages[i] = Sprite{0, 0, 0, 0, 0, assets->sheeppictures[i]};
    }
    int centre = screen.w / 2;
    PlacePiece(&match->pieces[kCannon1], centre - assets->cannon1->w / 2, screen.h - 210,
               assets->cannon1);
    PlacePiece(&match->pieces[kShield1], centre - assets->shield1->w / 2, screen.h - 135,
               assets->shield1);
    PlacePiece(&match->pieces[kCannon2], centre - assets->cannon1->w / 2 + 50,
               207 - assets->cannon2->h, assets->cannon2);
    PlacePiece(&match->pieces[kShield2], centre - assets->shield1->w / 2, 133 - assets->shield2->h,
               assets->shield2);

    ClearSprites(match->shots[0], kShotSlots, assets->shot);
    ClearSprites(match->shots[1], kShotSlots, assets->shot);
    settings.exploframewidth =
        settings.exploanim > 0 ? assets->explosion->w / settings.exploanim : 0;
    ClearSprites(match->explosions, kExplosionSlots, assets->explosion);
    ClearSprites(match->blood, kBloodSlots, assets->blood);

    DealHerd(match, 0, screen);
    DealHerd(match, 1, screen);

    MatchStatus& status = match->status;
    status.sheepLeft[0] = 1;
    status.sheepLeft[1] = 1;
    status.fps = 0;
    status.frameCount = 0;
    status.showFps = 0;
    status.phase = Running;
    status.frameStart = now;
    status.sheepHitSound = 0;
    status.explosionSound = 0;
    status.shotSound = 0;
    match->drawnCount = 0;
    match->paletteStep = 0;
}
