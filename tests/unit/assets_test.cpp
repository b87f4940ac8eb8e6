#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <string>

#include "config/assets.h"
#include "test_support.h"
#include "text/bounded_text.h"

namespace {

// Writes an 8-bit picture whose pixels all hold fillIndex but the top-left one, which
// holds keyIndex.
void WritePalettedBmp(const std::string& path, int w, int h, Uint8 keyIndex, Uint8 fillIndex) {
    SurfacePtr picture = MakePalettedSurface(w, h, fillIndex);
    static_cast<Uint8*>(picture->pixels)[0] = keyIndex;
    ASSERT_EQ(SDL_SaveBMP(picture.get(), path.c_str()), 0);
}

void WriteSilentWav(const std::string& path) {
    std::string wav = "RIFF";
    auto put32 = [&](Uint32 v) {
        for (int i = 0; i < 4; ++i)
            wav += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&](Uint16 v) {
        wav += static_cast<char>(v & 0xFF);
        wav += static_cast<char>(v >> 8);
    };
    const Uint32 samples = 64;
    put32(36 + samples);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(11025);
    put32(11025);
    put16(1);
    put16(8);
    wav += "data";
    put32(samples);
    wav += std::string(samples, static_cast<char>(0x80));
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(wav.data(), 1, wav.size(), file);
    fclose(file);
}

// A theme in which every picture exists, each with a size of its own so the loading
// order can be read back from the surface list.
ThemeFileNames WriteTheme(const TempDir& dir) {
    ThemeFileNames names{};
    char* pictures[] = {names.background,   names.cannon1,     names.cannon2,  names.shield1,
                        names.shield2,      names.shot,        names.blood,    names.explosion,
                        names.sheeplw,      names.sheeplb,     names.sheeprw,  names.sheeprb,
                        names.splashscreen, names.suddendeath, names.winner,   names.loser,
                        names.draw,         names.abcbig,      names.abcsmall, names.specialchar,
                        names.numbers,      names.border};
    int width = 1;
    for (char* field : pictures) {
        std::string path = dir.path() + "/p" + std::to_string(width) + ".bmp";
        WritePalettedBmp(path, width, 2, 5, 9);
        CopyText(field, 100, path.c_str());
        ++width;
    }
    std::string sound = dir.path() + "/s.wav";
    WriteSilentWav(sound);
    CopyText(names.shotsound, 100, sound.c_str());
    CopyText(names.explodesound, 100, sound.c_str());
    CopyText(names.sheepsound1, 100, sound.c_str());
    CopyText(names.sheepsound2, 100, (dir.path() + "/missing.wav").c_str());
    CopyText(names.sheepsound3, 100, "");
    return names;
}

class AssetsTest : public testing::Test {
   protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0);
        audioOpen = Mix_OpenAudio(11025, AUDIO_U8, 1, 512) == 0;
    }
    void TearDown() override {
        if (audioOpen) {
            Mix_CloseAudio();
        }
        SDL_Quit();
    }
    bool audioOpen = false;
};

}  // namespace

TEST_F(AssetsTest, KeyedPicturesAreTransparentWhereTheTopLeftIndexIs) {
    TempDir dir;
    WritePalettedBmp(dir.path() + "/k.bmp", 4, 4, 5, 9);
    SurfacePtr keyed(LoadImage((dir.path() + "/k.bmp").c_str(), Treatment::Keyed));
    EXPECT_TRUE(keyed->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(keyed->format->colorkey, 5u);

    SurfacePtr target = MakeSurface(4, 4, 0x00123456);
    SDL_BlitSurface(keyed.get(), nullptr, target.get(), nullptr);
    EXPECT_EQ(PixelAt(target.get(), 0, 0), 0x00123456u);  // index 5: the key
    EXPECT_EQ(PixelAt(target.get(), 1, 0), 0x00090909u);  // index 9: grey 9

    SurfacePtr plain(LoadImage((dir.path() + "/k.bmp").c_str(), Treatment::Plain));
    EXPECT_FALSE(plain->flags & SDL_SRCCOLORKEY);
    SurfacePtr alpha(LoadImage((dir.path() + "/k.bmp").c_str(), Treatment::Alpha));
    EXPECT_TRUE(alpha->flags & SDL_SRCALPHA);
}

TEST_F(AssetsTest, MissingPictureEndsTheProgramWithItsPath) {
    EXPECT_EXIT(LoadImage("/nonexistent/winner.png", Treatment::Keyed), testing::ExitedWithCode(1),
                "Couldn't load /nonexistent/winner.png: ");
}

TEST_F(AssetsTest, ThemeLoadsInOrderAndReleasesEveryPictureOnce) {
    TempDir dir;
    ThemeFileNames names = WriteTheme(dir);
    ThemeAssets assets{};
    TextStyle style{};
    LoadThemeAssets(&names, &assets);
    LoadFontSheets(&names, &assets, &style);
    ASSERT_EQ(assets.surfacecount, 22);

    // Loading order: background, cannons, shields, shot, blood, explosion, the four
    // sheep, splash, sudden death, winner, loser, draw, then the sheets and the border.
    EXPECT_EQ(assets.surfacelist[0], assets.background);
    EXPECT_EQ(assets.background->w, 1);
    EXPECT_EQ(assets.cannon2->w, 3);
    EXPECT_EQ(assets.shield1->w, 4);
    EXPECT_EQ(assets.surfacelist[7], assets.explosion);
    EXPECT_EQ(assets.sheeppictures[1]->w, 10);  // sheeplb, the tenth picture
    EXPECT_EQ(assets.sheeppictures[2]->w, 11);  // sheeprw
    EXPECT_EQ(assets.surfacelist[12], assets.pictures[kSplashscreen]);
    EXPECT_EQ(assets.surfacelist[13], assets.pictures[kSuddenDeath]);
    EXPECT_EQ(assets.surfacelist[14], assets.pictures[kWinner]);
    EXPECT_EQ(assets.surfacelist[16], assets.pictures[kDraw]);
    EXPECT_EQ(assets.surfacelist[17], style.abcbig);
    EXPECT_EQ(assets.surfacelist[21], style.border);
    EXPECT_FALSE(style.border->flags & SDL_SRCCOLORKEY);
    EXPECT_TRUE(style.numbers->flags & SDL_SRCCOLORKEY);
    EXPECT_FALSE(assets.pictures[kSplashscreen]->flags & SDL_SRCCOLORKEY);

    if (audioOpen) {
        EXPECT_NE(assets.sounds[kShotSound], nullptr);
        EXPECT_NE(assets.sounds[kSheepSound1], nullptr);
    }
    EXPECT_EQ(assets.sounds[kSheepSound2], nullptr);  // missing file: silent, no message
    EXPECT_EQ(assets.sounds[kSheepSound3], nullptr);

    // Hold an extra reference on each picture: the release must drop exactly one.
    SDL_Surface* listed[22];
    for (int i = 0; i < 22; ++i) {
        listed[i] = assets.surfacelist[i];
        ++listed[i]->refcount;
    }
    FreeThemeAssets(&assets);
    for (SDL_Surface* surface : listed) {
        EXPECT_EQ(surface->refcount, 1);
        SDL_FreeSurface(surface);
    }
    EXPECT_EQ(assets.surfacecount, 0);
    for (Mix_Chunk* sound : assets.sounds) {
        EXPECT_EQ(sound, nullptr);
    }
}

TEST_F(AssetsTest, AMissingPictureStopsBeforeAnySoundIsLoaded) {
    TempDir dir;
    ThemeFileNames names = WriteTheme(dir);
    CopyText(names.winner, "gone.png");
    ThemeAssets assets{};
    EXPECT_EXIT(LoadThemeAssets(&names, &assets), testing::ExitedWithCode(1),
                "Couldn't load gone.png: ");
}
