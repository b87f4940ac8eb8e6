#include "net/wire.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "match/match_rules.h"
#include "text/bounded_text.h"

int gPreviousRemoteFire = 0;

namespace {

constexpr int kFieldWidth = 3;
constexpr int kFieldMin = -99;
constexpr int kFieldMax = 999;
constexpr int kFireBonus = 10;

// The moveCodes that start each group; the slow variant is one more, and Right is two
// more than Left.
constexpr int kStay = 0;
constexpr int kCannonLeftFast = 1;
constexpr int kShieldLeftFast = 5;
constexpr int kShieldRightSlow = 8;

// Left shift counts 1 and right shift 2, so the setting 1 means "left Shift alone".
int ShiftBits(SDLMod mods) {
    int bits = 0;
    if ((mods & KMOD_LSHIFT) != 0) {
        bits |= 1;
    }
    if ((mods & KMOD_RSHIFT) != 0) {
        bits |= 2;
    }
    return bits;
}

int MoveCodeFor(const InputSnapshot& input, int shiftslow) {
    int slowBit = ShiftBits(input.mods) == shiftslow ? 1 : 0;
    int base = CtrlHeld(input) ? kShieldLeftFast : kCannonLeftFast;
    int code = kStay;
    if (KeyHeld(input, SDLK_LEFT)) {
        code = base + slowBit;
    }
    // Right wins when both arrows are held.
    if (KeyHeld(input, SDLK_RIGHT)) {
        code = base + 2 + slowBit;
    }
    return code;
}

// Codes 1..4 move the cannon and 5..8 the shield, each as left fast, left slow, right
// fast, right slow. The client sees the field turned half round, so its Left is +x here.
void MoveRemotePieces(MatchState* match, int code) {
    if (code < kCannonLeftFast || code > kShieldRightSlow) {
        return;
    }
    bool shield = code >= kShieldLeftFast;
    if (shield && match->status.phase == SuddenDeath) {
        return;
    }
    int variant = (code - kCannonLeftFast) % 4;
    const GameSettings& settings = match->settings;
    int step = variant % 2 == 1 ? settings.speedslow : settings.speedfast;
    int sign = variant < 2 ? 1 : -1;
    match->pieces[shield ? kShield2 : kCannon2].x += sign * step;
}

// Appends fields into the message; the buffer is zeroed first, so the text stays
// terminated and the padding stays zero.
struct MessageWriter {
    char* out;
    size_t used;

    void Append(const char* text) { used += CopyText(out + used, kStateMessageSize - used, text); }
    void Number(int value) {
        // A wider number would shift every later field, so the sender keeps to the range.
        char field[16];
        FormatDecimal(std::clamp(value, kFieldMin, kFieldMax), field);
        PadNumber(field);
        Append(field);
    }
    void Character(char c) {
        char text[2] = {c, '\0'};
        Append(text);
    }
    void Entry(const Sprite& sprite, char status) {
        Number(sprite.x);
        Number(sprite.y);
        Character(status);
    }
};

char HerdStatus(const Sprite& sheep) {
    if (sheep.state == 0) {
        return '0';
    }
    return sheep.direction == 1 ? '1' : '2';
}

// An effect is marked only in the frame that started it; the client then counts it
// down itself. An inactive slot is never marked, even when the lifetime setting is 0.
char StartMarker(const Sprite& effect, int lifetime) {
    return effect.state != 0 && effect.state == lifetime ? '1' : '0';
}

int SoundDigit(const MatchStatus& status) {
    return 4 * (status.sheepHitSound != 0) + 2 * (status.shotSound != 0) +
           (status.explosionSound != 0);
}

struct MessageReader {
    const char* in;
    size_t position;

    int Number() {
        char field[kFieldWidth + 1];
        CopyText(field, in + position);
        position += kFieldWidth;
        return ParseDecimal(field);
    }
    char Character() { return in[position++]; }
};

int DigitValue(char c) {
    char text[2] = {c, '\0'};
    return ParseDecimal(text);
}

// Every received position is turned half round by the size of the receiving
// record's own picture.
void ReadMirroredPosition(MessageReader* reader, Sprite* sprite, ScreenSize screen, int width,
                          int height) {
    sprite->x = screen.w - width - reader->Number();
    sprite->y = screen.h - height - reader->Number();
}

void ReadSheep(MessageReader* reader, Sprite* sheep, ScreenSize screen) {
    ReadMirroredPosition(reader, sheep, screen, sheep->image->w, sheep->image->h);
    char status = reader->Character();
    if (status == '0') {
        sheep->state = 0;
        return;
    }
    sheep->state = 1;
    sheep->direction = status == '1' ? 1 : -1;
}

void ReadShot(MessageReader* reader, Sprite* shot, ScreenSize screen) {
    ReadMirroredPosition(reader, shot, screen, shot->image->w, shot->image->h);
    shot->state = DigitValue(reader->Character());
}

void ReadEffect(MessageReader* reader, Sprite* effect, ScreenSize screen, int width, int lifetime) {
    ReadMirroredPosition(reader, effect, screen, width, effect->image->h);
    if (reader->Character() != '0') {
        effect->state = lifetime;
    }
}

void ReadSounds(char digit, char terminator, MatchStatus* status) {
    int value = DigitValue(digit);
    if (digit != '0') {
        char digitText[2] = {digit, '\0'};
        fprintf(stderr, "%c %s  %i\n", terminator, digitText, value);
    }
    status->sheepHitSound = value >= 4 ? 1 : 0;
    if (status->sheepHitSound != 0) {
        value -= 4;
        fprintf(stderr, "sheep %i  %i\n", 1, value);
    }
    status->shotSound = value >= 2 ? 1 : 0;
    if (status->shotSound != 0) {
        value -= 2;
    }
    status->explosionSound = value >= 1 ? 1 : 0;
}

}  // namespace

int InputValueFor(const InputSnapshot& input, int shiftslow) {
    int fire = KeyHeld(input, SDLK_SPACE) ? 1 : 0;
    return MoveCodeFor(input, shiftslow) + kFireBonus * fire;
}

void EncodeInputMessage(int value, Uint8 out[kInputMessageSize]) {
    Uint32 bits = static_cast<Uint32>(value);
    for (int i = 0; i < kInputMessageSize; ++i) {
        out[i] = static_cast<Uint8>((bits >> (8 * i)) & 0xFF);
    }
}

int DecodeInputMessage(const Uint8 in[kInputMessageSize]) {
    Uint32 bits = 0;
    for (int i = 0; i < kInputMessageSize; ++i) {
        bits |= static_cast<Uint32>(in[i]) << (8 * i);
    }
    return static_cast<int>(bits);
}

void ApplyRemoteInput(MatchState* match, ScreenSize screen, int value) {
    int fire = 0;
    if (value >= kFireBonus) {
        value -= kFireBonus;
        fire = 1;
    }
    MoveRemotePieces(match, value);
    ClampPieceX(&match->pieces[kCannon2], screen);
    ClampPieceX(&match->pieces[kShield2], screen);
    // Holding Space fires once: the next shot needs a message without fire first.
    if (fire == 1 && gPreviousRemoteFire == 0) {
        const Sprite& cannon = match->pieces[kCannon2];
        TryFireShot(match, 1, cannon.y + cannon.image->h);
    }
    gPreviousRemoteFire = fire;
}

void PadNumber(char* text) {
    size_t length = strnlen(text, kFieldWidth + 1);
    if (length == 0 || length >= kFieldWidth) {
        return;
    }
    size_t shift = kFieldWidth - length;
    for (size_t i = length + 1; i-- > 0;) {
        text[i + shift] = text[i];
    }
    for (size_t i = 0; i < shift; ++i) {
        text[i] = '0';
    }
}

void EncodeStateMessage(const MatchState& match, char out[kStateMessageSize]) {
    memset(out, 0, kStateMessageSize);
    MessageWriter writer{out, 0};
    for (int k = 0; k < 4; ++k) {
        writer.Number(match.pieces[k].x);
    }
    for (const auto& herd : match.herds) {
        for (const Sprite& sheep : herd) {
            writer.Entry(sheep, HerdStatus(sheep));
        }
    }
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < kShotSlots; ++i) {
            const Sprite& shot = match.shots[row][i];
            writer.Entry(shot, shot.state != 0 ? '1' : '0');
        }
    }
    for (int i = 0; i < kExplosionSlots; ++i) {
        const Sprite& explosion = match.explosions[i];
        writer.Entry(explosion, StartMarker(explosion, match.settings.explotime));
    }
    for (int i = 0; i < kBloodSlots; ++i) {
        const Sprite& blood = match.blood[i];
        writer.Entry(blood, StartMarker(blood, match.settings.bloodtime));
    }
    writer.Character(static_cast<char>('0' + SoundDigit(match.status)));
    writer.Character('x');
}

void DecodeStateMessage(const char in[kStateMessageSize], MatchState* match, ScreenSize screen) {
    MessageReader reader{in, 0};
    // The players are exchanged: the server's player 2 is this machine's player 1.
    static constexpr int kReceivedPieceOrder[4] = {kCannon2, kShield2, kCannon1, kShield1};
    for (int target : kReceivedPieceOrder) {
        Sprite& piece = match->pieces[target];
        piece.x = screen.w - piece.image->w - reader.Number();
    }
    for (int herd : {1, 0}) {
        for (Sprite& sheep : match->herds[herd]) {
            ReadSheep(&reader, &sheep, screen);
        }
    }
    for (int row : {1, 0}) {
        for (Sprite& shot : match->shots[row]) {
            ReadShot(&reader, &shot, screen);
        }
    }
    const GameSettings& settings = match->settings;
    for (int i = 0; i < kExplosionSlots; ++i) {
        // An explosion is drawn one animation frame wide.
        ReadEffect(&reader, &match->explosions[i], screen, settings.exploframewidth,
                   settings.explotime);
    }
    for (int i = 0; i < kBloodSlots; ++i) {
        Sprite& blood = match->blood[i];
        ReadEffect(&reader, &blood, screen, blood.image->w, settings.bloodtime);
    }
    char digit = reader.Character();
    char terminator = reader.Character();
    ReadSounds(digit, terminator, &match->status);
}
