// Loading the theme's pictures with their treatments, a missing sound, and the release.

#include "config/assets.h"
#include "test_support.h"
#include "text/bounded_text.h"

// A theme whose pictures are 8-bit, of index 9 but the top-left pixel, of index 5, and
// each as wide as its place in the loading order; a sound whose file is missing.
ThemeFileNames WriteTheme(const TempDir& dir) {
    ThemeFileNames n{};
    char* pictures[] = {n.background,   n.cannon1,     n.cannon2, n.shield1, n.shield2, n.shot,
                        n.blood,        n.explosion,   n.sheeplw, n.sheeplb, n.sheeprw, n.sheeprb,
                        n.splashscreen, n.suddendeath, n.winner,  n.loser,   n.draw,    n.abcbig,
                        n.abcsmall,     n.specialchar, n.numbers, n.border};
    for (int i = 0; i < 22; ++i) {
        SurfacePtr picture = MakePalettedSurface(i + 1, 2, 9);
        static_cast<Uint8*>(picture->pixels)[0] = 5;
        CopyText(pictures[i], 100, (dir.path + "/p" + std::to_string(i) + ".bmp").c_str());
        SDL_SaveBMP(picture.get(), pictures[i]);
    }
    CopyText(n.sheepsound2, "missing.wav");
    return n;
}

TEST(Assets, ThemeLoadsInOrderWithItsTreatmentsAndReleasesEveryPictureOnce) {
    TempDir dir;
    ThemeFileNames names = WriteTheme(dir);
    ThemeAssets assets{};
    TextStyle style{};
    LoadThemeAssets(&names, &assets);
    LoadFontSheets(&names, &assets, &style);
    ASSERT_EQ(assets.surfacecount, 22);
    // The loading order, and where each picture is kept (sheep as lw, lb, rw, rb).
    EXPECT_EQ(Numbers(assets.background->w, assets.cannon2->w, assets.shield1->w,
                      assets.explosion->w, assets.sheeppictures[1]->w, assets.sheeppictures[2]->w,
                      assets.pictures[kSplashscreen]->w, assets.pictures[kSuddenDeath]->w,
                      assets.pictures[kWinner]->w, assets.pictures[kDraw]->w, style.abcbig->w,
                      style.numbers->w, style.border->w),
              "1 3 4 8 10 11 13 14 15 17 18 21 22");
    SDL_Surface* loaded[22];
    SurfacePtr target = MakeSurface(2, 1, 0x00123456);
    for (int i = 0; i < 22; ++i) {
        loaded[i] = assets.surfacelist[i];
        // Keyed pictures show what lies under their top-left index; the background, splash,
        // border and an 8-bit explosion strip (no alpha of its own) are plain copies.
        SDL_BlitSurface(loaded[i], nullptr, target.get(), nullptr);
        const bool keyed = i != 0 && i != 7 && i != 12 && i != 21;
        EXPECT_EQ(Numbers(loaded[i]->w, PixelAt(target.get(), 0, 0), PixelAt(target.get(), 1, 0),
                          (loaded[i]->flags & SDL_SRCALPHA) != 0),
                  Numbers(i + 1, keyed ? 0x123456 : 0x050505, i > 0 ? 0x090909 : 0x123456, 0));
        SDL_FillRect(target.get(), nullptr, 0x00123456);
        ++loaded[i]->refcount;  // an extra hold: the release must drop exactly one
    }
    // A strip with an alpha channel is blended by it: one white pixel, half see-through,
    // in a 32-bit BMP (SDL_SaveBMP would drop the alpha).
    const char bmp[] =
        "BM:\0\0\0\0\0\0\0006\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0 \0\0\0\0\0"
        "\4\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\x80";
    FILE* file = fopen(names.explosion, "wb");
    fwrite(bmp, 1, sizeof bmp - 1, file);
    fclose(file);
    SurfacePtr blended(LoadImage(names.explosion, Treatment::Alpha));
    SDL_BlitSurface(blended.get(), nullptr, target.get(), nullptr);
    for (int shift : {16, 8, 0}) {  // halfway from 0x123456 to white, rounded either way
        EXPECT_NEAR(PixelAt(target.get(), 0, 0) >> shift & 0xFF,
                    (0x123456 >> shift & 0xFF) / 2 + 127, 2);
    }
    EXPECT_EQ(assets.sounds[kSheepSound2], nullptr);
    FreeThemeAssets(&assets);
    for (SDL_Surface* surface : loaded) {
        EXPECT_EQ(surface->refcount, 1);
        SDL_FreeSurface(surface);
    }
}
