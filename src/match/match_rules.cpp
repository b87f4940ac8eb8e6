#include "match/match_rules.h"

#include <algorithm>

MatchKeyLatches gMatchKeyLatches = {false, false};

namespace {

constexpr int kCoveredDistance = 100;

int WidthOf(const Sprite& sprite) {
    return sprite.image != nullptr ? sprite.image->w : 0;
}
int HeightOf(const Sprite& sprite) {
    return sprite.image != nullptr ? sprite.image->h : 0;
}

// The shot slots a row uses; never more than the row holds.
int ShotSlotsInUse(const MatchState& match) {
    return std::clamp(match.settings.maxshots, 0, kShotSlots);
}

// The herd slots that can hold live sheep; never more than the herd holds.
int HerdSlotsInUse(const MatchState& match) {
    return std::clamp(match.settings.sheepmax, 0, kHerdSize);
}

void StepLeft(Sprite* piece, int step, ScreenSize screen) {
    piece->x -= step;
    ClampPieceX(piece, screen);
}

void StepRight(Sprite* piece, int step, ScreenSize screen) {
    piece->x += step;
    ClampPieceX(piece, screen);
}

void MovePlayerOnePiece(MatchState* match, ScreenSize screen, const InputSnapshot& input) {
    const GameSettings& settings = match->settings;
    int step = ShiftHeld(input) ? settings.speedshift : settings.speednormal;
    bool moveShield = CtrlHeld(input);
    if (moveShield && match->status.phase == SuddenDeath) {
        return;  // the shield is frozen once it is down to the last sheep each
    }
    Sprite* piece = &match->pieces[moveShield ? kShield1 : kCannon1];
    if (KeyHeld(input, SDLK_LEFT)) {
        StepLeft(piece, step, screen);
    }
    if (KeyHeld(input, SDLK_RIGHT)) {
        StepRight(piece, step, screen);
    }
}

void FireOnSpacePress(MatchState* match, const InputSnapshot& input) {
    bool spaceHeld = KeyHeld(input, SDLK_SPACE);
    if (spaceHeld && !gMatchKeyLatches.spaceHeld) {
        const Sprite& cannon = match->pieces[kCannon1];
        const Sprite& shot = match->shots[0][0];
        // The person's shot starts just above the cannon's top edge.
        TryFireShot(match, 0, cannon.y - HeightOf(shot));
    }
    gMatchKeyLatches.spaceHeld = spaceHeld;
}

void FlyShots(MatchState* match, ScreenSize screen) {
    const int shotspeed = match->settings.shotspeed;
    for (int i = 0; i < ShotSlotsInUse(*match); ++i) {
        Sprite& up = match->shots[0][i];
        if (up.state != 0) {
            up.y -= shotspeed;
            if (up.y + HeightOf(up) < 0) {
                up.state = 0;
            }
        }
        Sprite& down = match->shots[1][i];
        if (down.state != 0) {
            down.y += shotspeed;
            if (down.y > screen.h) {
                down.state = 0;
            }
        }
    }
}

void CountDownSprites(Sprite* effects, int count) {
    for (int i = 0; i < count; ++i) {
        if (effects[i].state != 0) {
            --effects[i].state;
        }
    }
}

void ToggleFpsOnPress(MatchState* match, const InputSnapshot& input) {
    bool fHeld = KeyHeld(input, SDLK_f);
    if (fHeld && !gMatchKeyLatches.fHeld) {
        match->status.showFps = match->status.showFps == 0 ? 1 : 0;
    }
    gMatchKeyLatches.fHeld = fHeld;
}

// Right first, then left, each on the x the other left: a piece less than one step
// left of its target moves past it and back again.
void SteerToward(Sprite* piece, int target, int step, ScreenSize screen) {
    if (piece->x < target) {
        StepRight(piece, step, screen);
    }
    if (piece->x > target) {
        StepLeft(piece, step, screen);
    }
}

bool CoveredByShield(const Sprite& sheep, const Sprite& shield) {
    return sheep.x <= shield.x + kCoveredDistance && sheep.x >= shield.x - kCoveredDistance;
}

// The x the computer's cannon aims at: the first live enemy sheep the enemy shield
// does not cover. Without one it takes the slot after the herd in use, which keeps
// the x it was dealt; a full herd has no such slot, so the cannon stays put.
int ChooseCannonTarget(const MatchState& match, int enemy) {
    const Sprite* herd = match.herds[enemy];
    const Sprite& enemyShield = match.pieces[2 * enemy + 1];
    const int slots = HerdSlotsInUse(match);
    for (int j = 0; j < slots; ++j) {
        if (herd[j].state != 0 && !CoveredByShield(herd[j], enemyShield)) {
            return herd[j].x;
        }
    }
    if (slots < kHerdSize) {
        return herd[slots].x;
    }
    return match.pieces[2 * (1 - enemy)].x;
}

void WalkSheep(Sprite* sheep, const MatchState& match, ScreenSize screen) {
    --sheep->state;
    sheep->image = SheepImageFor(match, sheep->colour, sheep->direction);
    sheep->x += match.settings.sheepspeed * sheep->direction;
    const int width = WidthOf(*sheep);
    if (sheep->x < 0) {
        sheep->x = screen.w - width;
    }
    if (sheep->x + width > screen.w) {
        sheep->x = 0;
    }
}

void MoveSheepOf(MatchState* match, int herd, ScreenSize screen) {
    for (int j = 0; j < HerdSlotsInUse(*match); ++j) {
        Sprite& sheep = match->herds[herd][j];
        if (sheep.state == 0) {
            continue;
        }
        if (sheep.state == 1) {
            if (RandomBelow(100) == 1) {
                sheep.state = RandomBelow(50) + 5;
            }
            sheep.direction = RandomBelow(2) == 1 ? 1 : -1;
        }
        if (sheep.state > 1) {
            WalkSheep(&sheep, *match, screen);
        }
    }
}

bool RangesOverlap(int shotStart, int shotLength, int targetStart, int targetLength) {
    const int targetEnd = targetStart + targetLength;
    const int shotEnd = shotStart + shotLength;
    return (shotStart >= targetStart && shotStart <= targetEnd) ||
           (shotEnd >= targetStart && shotEnd <= targetEnd);
}

// One shot's whole pass: it is tested against every target even after it has stopped,
// so a shot on a shield and a sheep at once explodes and kills, and one shot on
// several sheep kills them all.
void ResolveShot(MatchState* match, int row, int slot) {
    Sprite& shot = match->shots[row][slot];
    const int enemy = 1 - row;
    const int effectSlot = row == 0 ? slot : ShotSlotsInUse(*match) + slot;
    const GameSettings& settings = match->settings;

    const Sprite* guards[2] = {&match->pieces[2 * enemy], &match->pieces[2 * enemy + 1]};
    for (const Sprite* guard : guards) {
        if (ShotOverlaps(shot, *guard)) {
            shot.state = 0;
            Sprite& explosion = match->explosions[effectSlot];
            // Centred on the shot's width both ways.
            const int offset = WidthOf(shot) / 2 - settings.exploframewidth / 2;
            explosion.state = settings.explotime;
            explosion.x = shot.x + offset;
            explosion.y = shot.y + offset;
            match->status.explosionSound = 1;
        }
    }

    for (int j = 0; j < HerdSlotsInUse(*match); ++j) {
        Sprite& sheep = match->herds[enemy][j];
        if (sheep.state != 0 && ShotOverlaps(shot, sheep)) {
            shot.state = 0;
            sheep.state = 0;
            Sprite& blood = match->blood[effectSlot];
            blood.state = settings.bloodtime;
            blood.x = (shot.x + sheep.x) / 2;
            blood.y = (shot.y + sheep.y) / 2;
            match->status.sheepHitSound = 1;
        }
    }
}

int CountLiveSheep(const MatchState& match, int herd) {
    int live = 0;
    for (int j = 0; j < HerdSlotsInUse(match); ++j) {
        if (match.herds[herd][j].state != 0) {
            ++live;
        }
    }
    return live;
}

bool IsDecided(int phase) {
    return phase == Player1Won || phase == Player2Won || phase == Draw;
}

int DecidePhase(int phase, int left0, int left1) {
    if (IsDecided(phase)) {
        return phase;
    }
    if (left0 > 0 && left1 == 0) {
        return Player1Won;
    }
    if (left0 == 0 && left1 > 0) {
        return Player2Won;
    }
    if (left0 == 0 && left1 == 0) {
        return Draw;
    }
    if (left0 == 1 && left1 == 1) {
        return SuddenDeath;
    }
    return phase;
}

}  // namespace

bool HandleMatchInput(MatchState* match, ScreenSize screen, const InputSnapshot& input) {
    if (match->status.demo == 0) {
        MovePlayerOnePiece(match, screen, input);
        FireOnSpacePress(match, input);
    }
    FlyShots(match, screen);
    CountDownEffects(match);
    ToggleFpsOnPress(match, input);
    return KeyHeld(input, SDLK_ESCAPE);
}

void CountDownEffects(MatchState* match) {
    CountDownSprites(match->explosions, kExplosionSlots);
    CountDownSprites(match->blood, kBloodSlots);
}

void ComputerPlayer(MatchState* match, ScreenSize screen, int player) {
    if (player != 1 && player != 2) {
        return;
    }
    const int own = player - 1;
    const int enemy = 1 - own;
    const int step = match->settings.speednormal;
    const int phase = match->status.phase;
    const int coin = RandomBelow(2);

    if (phase != SuddenDeath && coin == 1) {
        SteerToward(&match->pieces[2 * own + 1], match->pieces[2 * enemy].x, step, screen);
        return;
    }
    Sprite& cannon = match->pieces[2 * own];
    SteerToward(&cannon, ChooseCannonTarget(*match, enemy), step, screen);
    if (phase == Running || phase == SuddenDeath) {
        // The computer's shots start at the cannon's lower edge for either player.
        TryFireShot(match, own, cannon.y + HeightOf(cannon));
    }
}

void MoveSheep(MatchState* match, ScreenSize screen) {
    MoveSheepOf(match, 0, screen);
    MoveSheepOf(match, 1, screen);
}

void ResolveHits(MatchState* match) {
    for (int i = 0; i < ShotSlotsInUse(*match); ++i) {
        for (int row = 0; row < 2; ++row) {
            if (match->shots[row][i].state != 0) {
                ResolveShot(match, row, i);
            }
        }
    }
}

void UpdateOutcome(MatchState* match) {
    MatchStatus& status = match->status;
    const int before = status.phase;
    status.sheepLeft[0] = CountLiveSheep(*match, 0);
    status.sheepLeft[1] = CountLiveSheep(*match, 1);
    status.phase = DecidePhase(before, status.sheepLeft[0], status.sheepLeft[1]);
    if (status.phase != before) {
        match->paletteStep = 0;  // the new picture's colours are saved before cycling
    }
}

bool ShotOverlaps(const Sprite& shot, const Sprite& target) {
    return RangesOverlap(shot.x, WidthOf(shot), target.x, WidthOf(target)) &&
           RangesOverlap(shot.y, HeightOf(shot), target.y, HeightOf(target));
}

bool TryFireShot(MatchState* match, int row, int y) {
    if (row != 0 && row != 1) {
        return false;
    }
    Sprite* shots = match->shots[row];
    const int slots = ShotSlotsInUse(*match);
    int active = 0;
    int freeSlot = -1;
    for (int i = 0; i < slots; ++i) {
        if (shots[i].state != 0) {
            ++active;
        } else if (freeSlot < 0) {
            freeSlot = i;
        }
    }
    if (active >= slots || freeSlot < 0) {
        return false;
    }
    const Sprite& cannon = match->pieces[2 * row];
    Sprite& shot = shots[freeSlot];
    shot.state = 1;
    shot.x = cannon.x + WidthOf(cannon) / 2 - WidthOf(shot) / 2;
    shot.y = y;
    match->status.shotSound = 1;
    return true;
}

void ClampPieceX(Sprite* piece, ScreenSize screen) {
    const int rightmost = screen.w - WidthOf(*piece);
    if (piece->x > rightmost) {
        piece->x = rightmost;
    }
    if (piece->x < 0) {
        piece->x = 0;
    }
}
