#include "match/match_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/platform.h"
#include "text/bounded_text.h"

namespace {

constexpr int kTextAreaWidth = 500;
constexpr int kTextAreaHeight = 40;
constexpr int kPlayer2TextY = 220;
constexpr int kPlayer1TextY = 345;
constexpr int kTextLeft = 20;
constexpr int kFpsFromRight = 170;
constexpr int kBorderFromCentre = 180;
constexpr int kBorderFromBottom = 180;
constexpr int kHintFromCentre = 170;
constexpr int kHintFromBottom = 170;
constexpr int kDrawnBloodSlots = 20;
constexpr int kTextBufferSize = 64;
// Larger rates are shown as this many hundredths; nothing real comes near it.
constexpr long long kMaxFpsHundredths = 99999999LL;

SDL_Rect MakeRect(int x, int y, int w, int h) {
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(std::max(w, 0));
    rect.h = static_cast<Uint16>(std::max(h, 0));
    return rect;
}

void RecordArea(MatchState* match, SDL_Rect area) {
    if (match->drawnCount < kDrawnAreaCapacity) {
        match->drawnAreas[match->drawnCount++] = area;
    }
}

// SDL may clip the destination it is given, so every blit gets its own copy.
void Blit(SDL_Surface* source, const SDL_Rect* sourceArea, SDL_Surface* target,
          SDL_Rect destination) {
    SDL_Rect sourceCopy;
    SDL_Rect* sourcePointer = nullptr;
    if (sourceArea != nullptr) {
        sourceCopy = *sourceArea;
        sourcePointer = &sourceCopy;
    }
    if (SDL_BlitSurface(source, sourcePointer, target, &destination) < 0) {
        fprintf(stderr, "BlitSurface error: %s\n", SDL_GetError());
    }
}

void DrawWholePicture(MatchState* match, SDL_Surface* screen, SDL_Surface* picture, int x, int y) {
    const int w = picture != nullptr ? picture->w : 0;
    const int h = picture != nullptr ? picture->h : 0;
    SDL_Rect area = MakeRect(x, y, w, h);
    Blit(picture, nullptr, screen, area);
    RecordArea(match, area);
}

void DrawSprite(MatchState* match, SDL_Surface* screen, const Sprite& sprite) {
    DrawWholePicture(match, screen, sprite.image, sprite.x, sprite.y);
}

void DrawActiveSprites(MatchState* match, SDL_Surface* screen, const Sprite* sprites, int count) {
    for (int i = 0; i < count; ++i) {
        if (sprites[i].state != 0) {
            DrawSprite(match, screen, sprites[i]);
        }
    }
}

// The strip frame for an explosion with `state` frames left. The ratio is taken
// first, so a lifetime longer than the strip shows its first frame throughout.
int ExplosionFrameOffset(const GameSettings& settings, int state) {
    if (settings.explotime <= 0) {
        return 0;
    }
    const long long offset = static_cast<long long>(settings.exploanim / settings.explotime) *
                             (settings.explotime - state) * settings.exploframewidth;
    return static_cast<int>(std::clamp(offset, 0LL, 32767LL));
}

SDL_Surface* FrameOfItsOwn(const ExplosionFrames* frames, const SDL_Surface* strip,
                           SDL_Rect frame) {
    if (frames == nullptr || frames->strip != strip || frames->width != frame.w ||
        frame.x % frames->width != 0 || frame.x / frames->width >= frames->count) {
        return nullptr;
    }
    return frames->frames[frame.x / frames->width].get();
}

void DrawExplosions(MatchState* match, SDL_Surface* screen) {
    const GameSettings& settings = match->settings;
    for (int i = 0; i < kExplosionSlots; ++i) {
        const Sprite& explosion = match->explosions[i];
        if (explosion.state == 0) {
            continue;
        }
        SDL_Surface* strip = explosion.image;
        const int stripW = strip != nullptr ? strip->w : 0;
        const int stripH = strip != nullptr ? strip->h : 0;
        SDL_Rect frame = MakeRect(ExplosionFrameOffset(settings, explosion.state), 0,
                                  settings.exploframewidth, stripH);
        SDL_Rect area = MakeRect(explosion.x, explosion.y, stripW, stripH);
        SDL_Surface* own = FrameOfItsOwn(match->explosionFrames, strip, frame);
        if (own != nullptr) {
            const SDL_Rect whole = MakeRect(0, 0, frame.w, frame.h);
            Blit(own, &whole, screen, area);
        } else {
            Blit(strip, &frame, screen, area);
        }
        RecordArea(match, area);
    }
}

SDL_Surface* ResultPicture(const MatchStatus& status) {
    switch (status.phase) {
        case Player1Won:
            return status.pictures[kWinner];
        case Player2Won:
            return status.pictures[kLoser];
        case Draw:
            return status.pictures[kDraw];
        case SuddenDeath:
            return status.pictures[kSuddenDeath];
        default:
            return nullptr;
    }
}

void DrawResult(MatchState* match, SDL_Surface* screen) {
    SDL_Surface* picture = ResultPicture(match->status);
    if (picture == nullptr) {
        return;
    }
    DrawWholePicture(match, screen, picture, (screen->w - picture->w) / 2,
                     (screen->h - picture->h) / 2);
    CyclePalette(match->status.savedPalette, picture, &match->paletteStep);
}

void DrawHudText(MatchState* match, SDL_Surface* screen, const TextStyle* style, char* text, int x,
                 int y) {
    SDL_Rect area = MakeRect(x, y, kTextAreaWidth, kTextAreaHeight);
    DrawText(text, screen, style, area);
    RecordArea(match, area);
}

void DrawContinueHint(MatchState* match, SDL_Surface* screen, const TextStyle* style) {
    const int phase = match->status.phase;
    if (phase != Player1Won && phase != Player2Won && phase != Draw) {
        return;
    }
    // The bar behind the hint is never erased on its own: the hint's area covers it.
    Blit(style->border, nullptr, screen,
         MakeRect(screen->w / 2 - kBorderFromCentre, screen->h - kBorderFromBottom, 0, 0));
    char hint[kTextBufferSize];
    CopyText(hint, "Press ESC to continue.");
    DrawHudText(match, screen, style, hint, screen->w / 2 - kHintFromCentre,
                screen->h - kHintFromBottom);
}

void DrawHud(MatchState* match, SDL_Surface* screen, const TextStyle* style) {
    char text[kTextBufferSize];
    FormatSheepCount(2, match->status.sheepLeft[1], text, sizeof text);
    DrawHudText(match, screen, style, text, kTextLeft, kPlayer2TextY);
    FormatSheepCount(1, match->status.sheepLeft[0], text, sizeof text);
    DrawHudText(match, screen, style, text, kTextLeft, kPlayer1TextY);
    if (match->status.showFps == 1) {
        FormatFps(match->status.fps, text, sizeof text);
        DrawHudText(match, screen, style, text, screen->w - kFpsFromRight, kPlayer1TextY);
    }
}

bool HasPalette(const SDL_Surface* picture) {
    const SDL_Palette* palette = PicturePalette(picture);
    return palette != nullptr && palette->ncolors > 0;
}

struct Span {
    int left;
    int right;  // one past the last column
};

struct Box {
    int left, top, right, bottom;  // right and bottom one past the last column and row
};

// The area as far as a blit from the background to the screen reaches: SDL clips the
// source to the background and the destination to the screen's clip rectangle.
Box ReachOf(const SDL_Rect& area, const SDL_Surface* background, const SDL_Surface* screen) {
    const SDL_Rect& clip = screen->clip_rect;
    return Box{std::max({static_cast<int>(area.x), 0, static_cast<int>(clip.x)}),
               std::max({static_cast<int>(area.y), 0, static_cast<int>(clip.y)}),
               std::min({area.x + area.w, background->w, clip.x + clip.w}),
               std::min({area.y + area.h, background->h, clip.y + clip.h})};
}

// The columns the boxes cover in the band of rows starting at `top`, merged, left to right.
int SpansAt(const Box* boxes, int count, int top, Span* spans) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (boxes[i].top <= top && top < boxes[i].bottom) {
            spans[n++] = Span{boxes[i].left, boxes[i].right};
        }
    }
    std::sort(spans, spans + n, [](Span a, Span b) { return a.left < b.left; });
    int merged = 0;
    for (int i = 0; i < n; ++i) {
        if (merged > 0 && spans[i].left <= spans[merged - 1].right) {
            spans[merged - 1].right = std::max(spans[merged - 1].right, spans[i].right);
        } else {
            spans[merged++] = spans[i];
        }
    }
    return merged;
}

// A run of columns copied for the rows from `top` on, for as long as the bands below keep it.
struct OpenRun {
    Span columns;
    int top;
};

bool SameColumns(Span a, Span b) {
    return a.left == b.left && a.right == b.right;
}

// Copies the union of the areas from the background: the rows are cut into bands at every
// area's top and bottom, and each run of columns is copied once for all the bands in a row
// that have it.
void EraseUnion(SDL_Surface* background, SDL_Surface* screen, const SDL_Rect* areas, int count) {
    Box boxes[kDrawnAreaCapacity];
    int edges[2 * kDrawnAreaCapacity];
    int boxCount = 0;
    int edgeCount = 0;
    for (int i = 0; i < count; ++i) {
        const Box box = ReachOf(areas[i], background, screen);
        if (box.left < box.right && box.top < box.bottom) {
            boxes[boxCount++] = box;
            edges[edgeCount++] = box.top;
            edges[edgeCount++] = box.bottom;
        }
    }
    std::sort(edges, edges + edgeCount);
    edgeCount = static_cast<int>(std::unique(edges, edges + edgeCount) - edges);

    OpenRun open[kDrawnAreaCapacity];
    int openCount = 0;
    Span band[kDrawnAreaCapacity];
    for (int e = 0; e < edgeCount; ++e) {
        const int top = edges[e];
        const int bandCount = e + 1 < edgeCount ? SpansAt(boxes, boxCount, top, band) : 0;
        int kept = 0;
        for (int i = 0; i < openCount; ++i) {
            const OpenRun run = open[i];
            if (std::any_of(band, band + bandCount,
                            [run](Span s) { return SameColumns(s, run.columns); })) {
                open[kept++] = run;
                continue;
            }
            const SDL_Rect area = MakeRect(run.columns.left, run.top,
                                           run.columns.right - run.columns.left, top - run.top);
            Blit(background, &area, screen, area);
        }
        openCount = kept;
        for (int i = 0; i < bandCount; ++i) {
            const Span columns = band[i];
            if (std::none_of(open, open + openCount,
                             [columns](OpenRun r) { return SameColumns(r.columns, columns); })) {
                open[openCount++] = OpenRun{columns, top};
            }
        }
    }
}

}  // namespace

void DrawMatch(MatchState* match, SDL_Surface* screen, const TextStyle* style) {
    DrawMatchFrame(match, screen, style);
    ShowScreen(screen);
}

void DrawMatchFrame(MatchState* match, SDL_Surface* screen, const TextStyle* style) {
    match->drawnCount = 0;
    DrawActiveSprites(match, screen, match->blood, kDrawnBloodSlots);
    DrawActiveSprites(match, screen, match->herds[0], kHerdSize);
    DrawActiveSprites(match, screen, match->herds[1], kHerdSize);
    for (int piece = kCannon1; piece <= kShield2; ++piece) {
        DrawSprite(match, screen, match->pieces[piece]);
    }
    const int shotSlots = std::clamp(match->settings.maxshots, 0, kShotSlots);
    DrawActiveSprites(match, screen, match->shots[0], shotSlots);
    DrawActiveSprites(match, screen, match->shots[1], shotSlots);
    DrawExplosions(match, screen);
    DrawResult(match, screen);
    DrawContinueHint(match, screen, style);
    DrawHud(match, screen, style);
}

void CutExplosionFrames(SDL_Surface* strip, int frameWidth, ExplosionFrames* out) {
    *out = ExplosionFrames{};
    if (strip == nullptr || frameWidth <= 0) {
        return;
    }
    out->strip = strip;
    out->width = frameWidth;
    const int count = std::min(strip->w / frameWidth, kMaxExplosionFrames);
    for (int i = 0; i < count; ++i) {
        out->frames[i].reset(CopyPictureColumns(strip, i * frameWidth, frameWidth));
        if (!out->frames[i]) {
            return;  // the frames cut so far serve; the rest come from the strip
        }
        out->count = i + 1;
    }
}

void UseExplosionFrames(MatchState* match, SDL_Surface* strip, ExplosionFrames* frames) {
    CutExplosionFrames(strip, match->settings.exploframewidth, frames);
    match->explosionFrames = frames;
}

void EraseDrawnAreas(SDL_Surface* background, SDL_Surface* screen, const SDL_Rect* areas,
                     int count) {
    // A plain background copies the same pixels whatever the order and however often an
    // area overlaps another, so each pixel of the areas' union is copied once. One that
    // blends (an alpha channel) is laid over each area in turn, as drawn.
    if (background != nullptr && screen != nullptr && (background->flags & SDL_SRCALPHA) == 0) {
        EraseUnion(background, screen, areas, std::clamp(count, 0, kDrawnAreaCapacity));
        return;
    }
    for (int i = count - 1; i >= 0; --i) {
        Blit(background, &areas[i], screen, areas[i]);
    }
}

void CyclePalette(SDL_Color* savedPalette, SDL_Surface* picture, int* paletteStep) {
    if (!HasPalette(picture)) {
        return;  // nothing to rotate: the picture is shown as it is
    }
    const SDL_Palette* palette = PicturePalette(picture);
    const int n = std::min(palette->ncolors, 256);
    if (*paletteStep == 0) {
        std::copy_n(palette->colors, n, savedPalette);
    }
    ++*paletteStep;
    if (*paletteStep >= n || *paletteStep < 0) {
        *paletteStep = 1;
    }
    SDL_Color rotated[256];
    for (int i = 0; i < n; ++i) {
        rotated[(*paletteStep + i) % n] = savedPalette[i];
    }
    SetPictureColours(picture, rotated, n);
}

void FormatSheepCount(int player, int count, char* out, size_t capacity) {
    char number[16];
    CopyText(out, capacity, "Player ");
    FormatDecimal(player, number);
    AppendText(out, capacity, number);
    AppendText(out, capacity, ": ");
    FormatDecimal(count, number);
    AppendText(out, capacity, number);
    AppendText(out, capacity, " Sheep");
}

void FormatFps(float fps, char* out, size_t capacity) {
    // NaN and negative rates read as 0; huge ones are capped so the integer part fits.
    double value = std::isnan(fps) || fps < 0 ? 0.0 : static_cast<double>(fps);
    const long long hundredths =
        std::min(std::llround(std::min(value * 100.0, 1e12)), kMaxFpsHundredths);
    const int whole = static_cast<int>(hundredths / 100);
    const int fraction = static_cast<int>(hundredths % 100);

    char digits[16];
    CopyText(out, capacity, "");
    if (whole != 0) {
        FormatDecimal(whole, digits);
        AppendText(out, capacity, digits);
    }
    AppendText(out, capacity, ".");
    const char pair[3] = {static_cast<char>('0' + fraction / 10),
                          static_cast<char>('0' + fraction % 10), '\0'};
    AppendText(out, capacity, pair);
    AppendText(out, capacity, " fps");
}
