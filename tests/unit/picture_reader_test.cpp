// Our picture reader against SDL_image, which it stands in for where there is none: the
// same surface by every measure the game sees, for both shipped themes and the icons,
// for BMP and PNG variants written here, and a refusal from both for broken files.

#include <SDL/SDL_image.h>
#include <png.h>

#include <vector>

#include "platform/picture_surface.h"
#include "test_support.h"

namespace {

// Every measure of a surface the game sees, as one text: its format, flags and key, the
// red, green and blue of its palette (SDL 1.2 never reads the fourth byte) and a checksum
// of each row's w * BytesPerPixel bytes, top row first (the padding is SDL's own).
std::string Describe(SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    std::string text = Numbers(s->w, s->h, s->pitch, f->BitsPerPixel, f->BytesPerPixel, f->Rmask,
                               f->Gmask, f->Bmask, f->Amask, f->Rshift, f->Gshift, f->Bshift,
                               f->Ashift, f->Rloss, f->Gloss, f->Bloss, f->Aloss,
                               s->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY), f->alpha, f->colorkey);
    for (int i = 0; f->palette != nullptr && i < f->palette->ncolors; ++i) {
        const SDL_Color& c = f->palette->colors[i];
        text += " " + Numbers(c.r, c.g, c.b);
    }
    Uint32 sum = 2166136261u;
    for (int y = 0; y < s->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w * f->BytesPerPixel; ++x) {
            sum = (sum ^ row[x]) * 16777619u;
        }
    }
    return text + " pixels " + std::to_string(sum);
}

void ExpectSameAsSdlImage(const std::string& path) {
    SurfacePtr expected(IMG_Load(path.c_str())), actual(ReadPictureSurface(path.c_str()));
    ASSERT_TRUE(expected && actual) << path << ": " << SDL_GetError();
    EXPECT_EQ(Describe(actual.get()), Describe(expected.get())) << path;
    // The browser build lays its rows out by the picture's own pitch.
    PictureData picture;
    std::string error;
    EXPECT_TRUE(ReadPicture(path.c_str(), &picture, &error) && picture.pitch == expected->pitch);
}

std::string Le(Sint64 value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) {
        text += static_cast<char>(value >> 8 * i);
    }
    return text;
}

// Bytes unlike their neighbours, so that a byte taken from the wrong place shows.
std::string Noise(size_t count, Uint32 seed) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245 + 12345;
        byte = static_cast<char>(seed >> 16);
    }
    return bytes;
}

struct BmpVariant {
    const char* what;
    int bits, w, h;  // h < 0: top row first
    Uint32 compression = 0, headerSize = 40;
    std::vector<Uint32> masks = {};  // inside a longer header, else after its 40 bytes
    int colours = 0, gap = 0, cut = 0;
};

// Noise for the colours and the pixels (padding too), zeros in the gap before the pixels,
// and cut bytes cut off the end.
std::string Bmp(const BmpVariant& b) {
    const size_t rowBytes = (static_cast<size_t>(b.w) * b.bits + 31) / 32 * 4;
    std::string header = b.headerSize == 12
                             ? Le(12, 4) + Le(b.w, 2) + Le(b.h, 2) + Le(1, 2) + Le(b.bits, 2)
                             : Le(b.headerSize, 4) + Le(b.w, 4) + Le(b.h, 4) + Le(1, 2) +
                                   Le(b.bits, 2) + Le(b.compression, 4) + std::string(20, '\0');
    for (Uint32 mask : b.masks) {
        header += Le(mask, 4);
    }
    header.resize(std::max<size_t>(header.size(), b.headerSize), '\0');
    header += Noise(b.colours * (b.headerSize == 12 ? 3 : 4), 7) + std::string(b.gap, '\0');
    const std::string file = "BM" + Le(0, 8) + Le(14 + header.size(), 4) + header +
                             Noise(rowBytes * std::abs(b.h), b.w * 32 + b.bits);
    return file.substr(0, file.size() - b.cut);
}

// The shipped pictures are V4 bit fields with and without alpha, bottom row first.
const BmpVariant kBmps[] = {
    {"1-bit, 13 wide", 1, 13, 3, 0, 40, {}, 2},
    {"4-bit", 4, 5, 3, 0, 40, {}, 16},
    {"8-bit", 8, 5, 3, 0, 40, {}, 256},
    {"8-bit, 5 colours: the rest from the pixels and past the end", 8, 3, 2, 0, 40, {}, 5},
    {"OS/2 8-bit", 8, 5, 3, 0, 12, {}, 256},
    {"16-bit: 5-5-5", 16, 5, 3},
    {"24-bit", 24, 5, 3},
    {"32-bit: an alpha mask of SDL_image's own", 32, 5, 3},
    {"16-bit 5-6-5 bit fields", 16, 5, 3, 3, 40, {0xF800, 0x7E0, 0x1F}},
    {"32-bit bit fields: the first pixel as alpha mask", 32, 5, 3, 3, 40, {0xFF0000, 0xFF00, 0xFF}},
    {"V4, top row first", 32, 3, -3, 3, 108, {0xFF0000, 0xFF00, 0xFF, 0}},
    {"V5 with alpha, blue high", 32, 5, 3, 3, 124, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}},
    {"16-bit V4: its alpha mask ignored", 16, 5, 3, 3, 108, {0xF00, 0xF0, 0xF, 0xF000}},
    {"32-bit V4 uncompressed: its masks ignored", 32, 5, 3, 0, 108, {0xFF, 0xFF00, 0xFF0000, 0}},
    {"24-bit after a gap", 24, 5, 3, 0, 40, {}, 0, 8},
    {"32-bit after a gap: masks 0, no alpha", 32, 5, 3, 0, 40, {}, 0, 8},
    {"1-bit, the last row without its padding", 1, 9, 2, 0, 40, {}, 2, 2, 2},
    {"1-bit, 16383 wide: SDL's widest", 1, 16383, 2, 0, 40, {}, 2},
    {"1-bit, 65535 tall: SDL's tallest", 1, 1, 65535, 0, 40, {}, 2},
};

struct PngVariant {
    int type, depth, colours = 0;
    std::vector<Uint8> alphas = {};  // a palette's tRNS
    bool keyColour = false;          // a grey or RGB tRNS colour
};

void AppendPng(png_structp png, png_bytep data, png_size_t count) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), count);
}

// A 5 x 3 PNG of noise whose pixels use only the palette entries there are.
std::string Png(const PngVariant& p, bool interlaced) {
    const int channels[] = {1, 0, 3, 1, 2, 0, 4}, most = (1 << p.depth) - 1;
    const size_t rowBytes = (5 * channels[p.type] * p.depth + 7) / 8;
    std::string file, pixels = Noise(rowBytes * 3, p.type * 16 + p.depth);
    for (char& index : pixels) {
        index = p.colours > 0 && p.depth == 8 ? char(Uint8(index) % p.colours) : index;
    }
    std::string palette = Noise(3 * p.colours, 5);
    png_bytep rows[3];
    for (int y = 0; y < 3; ++y) {
        rows[y] = reinterpret_cast<png_bytep>(pixels.data()) + y * rowBytes;
    }
    png_color_16 key{0, png_uint_16(0x1234 & most), png_uint_16(0x5678 & most),
                     png_uint_16(0x9ABC & most), png_uint_16(0x0102 & most)};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, AppendPng, nullptr);
    png_set_IHDR(png, info, 5, 3, p.depth, p.type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, 0, 0);
    if (p.colours > 0) {
        png_set_PLTE(png, info, reinterpret_cast<png_colorp>(palette.data()), p.colours);
    }
    if (!p.alphas.empty() || p.keyColour) {
        png_set_tRNS(png, info, p.alphas.data(), p.alphas.size(), p.keyColour ? &key : nullptr);
    }
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

// Every colour type at every depth it allows, grey and RGB once more with a tRNS colour,
// and palettes whose tRNS SDL_image keys (one transparent entry, all others opaque) or
// expands to alpha.
std::vector<PngVariant> PngVariants() {
    std::vector<PngVariant> variants = {{3, 8, 10},
                                        {3, 8, 10, {255, 0, 255}},
                                        {3, 4, 16, {255, 255, 0}},
                                        {3, 8, 256, {255, 255}},
                                        {3, 8, 256, {0, 0}},
                                        {3, 2, 4, {255, 128}}};
    for (int type : {0, 2, 3, 4, 6}) {
        for (int depth : {1, 2, 4, 8, 16}) {
            if (type == 0 || (type == 3 ? depth <= 8 : depth >= 8)) {
                variants.push_back({type, depth, type == 3 ? 1 << depth : 0});
            }
            if ((type == 0 || type == 2) && depth >= 8) {
                variants.push_back({type, depth, 0, {}, true});
            }
        }
    }
    return variants;
}

TEST(PictureReader, ReadsEveryShippedPictureAsSdlImageDoes) {
    int compared = 0;
    for (const char* folder : {"/themes/meadow", "/themes/night", ""}) {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(MEADOW_DATA_DIR) + folder)) {
            if (entry.path().extension() == ".bmp" || entry.path().extension() == ".png") {
                ExpectSameAsSdlImage(entry.path());
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 2 * 22 + 3);
}

TEST(PictureReader, ReadsBmpAndPngVariantsAsSdlImageDoes) {
    TempDir dir;
    for (const BmpVariant& variant : kBmps) {
        SCOPED_TRACE(variant.what);
        dir.Write("variant.bmp", Bmp(variant));
        ExpectSameAsSdlImage("variant.bmp");
    }
    for (const PngVariant& variant : PngVariants()) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE("PNG " + Numbers(variant.type, variant.depth, variant.colours,
                                          variant.alphas.size(), variant.keyColour, interlaced));
            // Named .bmp: pictures are told apart by their contents.
            dir.Write("variant.bmp", Png(variant, interlaced));
            ExpectSameAsSdlImage("variant.bmp");
        }
    }
}

// The file with four bytes at offset replaced by value.
std::string Patched(std::string file, size_t offset, Sint64 value) {
    return file.replace(offset, 4, Le(value, 4));
}

void ExpectBothRefuse(const char* path) {
    SurfacePtr expected(IMG_Load(path));
    SDL_SetError("%s", "");
    SurfacePtr actual(ReadPictureSurface(path));
    EXPECT_EQ(Numbers(expected != nullptr, actual != nullptr, *SDL_GetError() != '\0'), "0 0 1");
}

TEST(PictureReader, RefusesBrokenFilesAsSdlImageDoes) {
    const std::string rgb = Png({2, 8}, false), bmp = Bmp({"", 24, 5, 3});
    const struct {
        const char* what;
        std::string file;
    } broken[] = {
        {"empty", ""},
        {"text", "P is for picture, not for pixels\n"},
        {"BMP header cut short", bmp.substr(0, 30)},
        {"BMP without its last row's padding", bmp.substr(0, bmp.size() - 1)},
        {"8-bit BMP without its last row's padding", Bmp({"", 8, 5, 2, 0, 40, {}, 256, 0, 3})},
        {"2-bit BMP", Bmp({"", 2, 5, 3, 0, 40, {}, 4})},
        {"BMP of width -5", Patched(bmp, 18, -5)},
        {"BMP of width 16384", Patched(bmp, 18, 16384)},
        {"BMP of height -70000", Patched(bmp, 22, -70000)},
        {"BMP of 100000 x 100000", Patched(Patched(bmp, 18, 100000), 22, 100000)},
        {"PNG signature alone", rgb.substr(0, 8)},
        {"PNG cut in its pixel data", rgb.substr(0, rgb.size() - 20)},
        {"PNG with a broken signature", "\x89PNGjunk" + rgb.substr(8)},
    };
    TempDir dir;
    for (const auto& file : broken) {
        SCOPED_TRACE(file.what);
        dir.Write("broken.bmp", file.file);
        ExpectBothRefuse("broken.bmp");
    }
    std::filesystem::create_directory("folder.png");
    ExpectBothRefuse("folder.png");
    ExpectBothRefuse("missing.png");
}

}  // namespace
