// Pictures in the browser. emscripten's SDL draws each surface from a canvas of RGBA
// pixels: it ignores colour keys and has no palettes. So a picture keeps, beside its
// canvas, the pixels and the pixel format of its file (what the game reads), and its
// canvas is painted from them by SDL 1.2's rules: a keyed pixel is fully transparent, a
// blended picture keeps its alpha, everything else is opaque.
#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture_reader.h"
#include "platform/platform.h"

namespace {

// What a picture's surface points at through its userdata.
struct WebPicture {
    PictureData data;
    SDL_PixelFormat format{};
    SDL_Palette palette{};
    bool keyed = false;
    Uint32 key = 0;
    bool blended = false;
    std::vector<Uint8> rgba;
};

WebPicture* PictureOf(const SDL_Surface* surface) {
    return surface != nullptr ? static_cast<WebPicture*>(surface->userdata) : nullptr;
}

int CountOfTrailingZeros(Uint32 mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int BitsIn(Uint32 mask) {
    int bits = 0;
    for (; mask != 0; mask &= mask - 1) {
        ++bits;
    }
    return bits;
}

void DescribeChannel(Uint32 mask, Uint32* formatMask, Uint8* shift, Uint8* loss) {
    *formatMask = mask;
    *shift = static_cast<Uint8>(CountOfTrailingZeros(mask));
    *loss = static_cast<Uint8>(8 - std::min(BitsIn(mask), 8));
}

// SDL 1.2's own red, green and blue for a surface asked for with none: as many bits for
// each as fit, green taking what is left over, blue lowest.
void DefaultMasks(int bitsPerPixel, Uint32* rmask, Uint32* gmask, Uint32* bmask) {
    const int bits = std::min(bitsPerPixel, 24);
    const int each = bits / 3, extra = bits % 3;
    *bmask = (1u << each) - 1;
    *gmask = ((1u << (each + extra)) - 1) << each;
    *rmask = ((1u << each) - 1) << (2 * each + extra);
}

// The file's pixel format as SDL 1.2 would describe it, in this SDL's structure.
void DescribeFormat(WebPicture* picture) {
    const PictureData& data = picture->data;
    SDL_PixelFormat& format = picture->format;
    format.BitsPerPixel = static_cast<Uint8>(data.bitsPerPixel);
    format.BytesPerPixel = static_cast<Uint8>((data.bitsPerPixel + 7) / 8);
    Uint32 rmask = data.rmask, gmask = data.gmask, bmask = data.bmask;
    if (data.bitsPerPixel > 8 && (rmask | gmask | bmask) == 0) {
        DefaultMasks(data.bitsPerPixel, &rmask, &gmask, &bmask);
    }
    DescribeChannel(rmask, &format.Rmask, &format.Rshift, &format.Rloss);
    DescribeChannel(gmask, &format.Gmask, &format.Gshift, &format.Gloss);
    DescribeChannel(bmask, &format.Bmask, &format.Bshift, &format.Bloss);
    DescribeChannel(data.amask, &format.Amask, &format.Ashift, &format.Aloss);
    if (data.bitsPerPixel == 8) {
        format.Rloss = format.Gloss = format.Bloss = format.Aloss = 8;
        picture->palette.ncolors = data.colourCount;
        picture->palette.colors = picture->data.colours;
        format.palette = &picture->palette;
    }
}

Uint32 PixelValue(const PictureData& data, int x, int y) {
    const int bytes = (data.bitsPerPixel + 7) / 8;
    const Uint8* at = data.pixels.data() + static_cast<size_t>(y) * data.pitch + x * bytes;
    Uint32 value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<Uint32>(at[i]) << (8 * i);
    }
    return value;
}

Uint8 Channel(Uint32 value, Uint32 mask, Uint8 shift, Uint8 loss) {
    return static_cast<Uint8>(((value & mask) >> shift) << loss);
}

// One pixel as the canvas should hold it: its colour and whether and how it is drawn.
void PaintPixel(const WebPicture& picture, Uint32 value, Uint8* out) {
    const SDL_PixelFormat& format = picture.format;
    if (format.palette != nullptr) {
        const SDL_Color colour = value < static_cast<Uint32>(format.palette->ncolors)
                                     ? format.palette->colors[value]
                                     : SDL_Color{0, 0, 0, 0};
        out[0] = colour.r;
        out[1] = colour.g;
        out[2] = colour.b;
    } else {
        out[0] = Channel(value, format.Rmask, format.Rshift, format.Rloss);
        out[1] = Channel(value, format.Gmask, format.Gshift, format.Gloss);
        out[2] = Channel(value, format.Bmask, format.Bshift, format.Bloss);
    }
    // A picture blended by its own alpha ignores its key, as SDL 1.2's blits do.
    if (picture.blended && format.Amask != 0) {
        out[3] = Channel(value, format.Amask, format.Ashift, format.Aloss);
    } else if (picture.keyed && (value & ~format.Amask) == picture.key) {
        out[3] = 0;
    } else {
        out[3] = 255;
    }
}

void PaintCanvas(SDL_Surface* surface) {
    WebPicture& picture = *PictureOf(surface);
    const PictureData& data = picture.data;
    picture.rgba.resize(static_cast<size_t>(data.w) * data.h * 4);
    Uint8* out = picture.rgba.data();
    for (int y = 0; y < data.h; ++y) {
        for (int x = 0; x < data.w; ++x, out += 4) {
            PaintPixel(picture, PixelValue(data, x, y), out);
        }
    }
    EM_ASM(
        {
            var canvas = SDL.surfaces[$0];
            var image = canvas.ctx.createImageData($2, $3);
            image.data.set(HEAPU8.subarray($1, $1 + $2 * $3 * 4));
            canvas.ctx.putImageData(image, 0, 0);
        },
        surface, picture.rgba.data(), data.w, data.h);
}

// A canvas surface that shows data; the game sees the file's own format and pixels.
SDL_Surface* MakePicture(std::unique_ptr<WebPicture> picture, bool blended) {
    const PictureData& data = picture->data;
    SDL_Surface* surface = SDL_CreateRGBSurface(0, data.w, data.h, 32, 0, 0, 0, 0);
    if (surface == nullptr) {
        SDL_SetError("Out of memory");
        return nullptr;
    }
    DescribeFormat(picture.get());
    picture->blended = blended && data.amask != 0;
    picture->keyed = data.keyed;
    picture->key = data.key;
    surface->format = &picture->format;
    surface->pixels = picture->data.pixels.data();
    surface->pitch = data.pitch;
    surface->flags = (picture->blended ? SDL_SRCALPHA : 0) | (data.keyed ? SDL_SRCCOLORKEY : 0);
    surface->userdata = picture.release();
    PaintCanvas(surface);
    return surface;
}

}  // namespace

SDL_Surface* LoadPictureFile(const char* path) {
    auto picture = std::make_unique<WebPicture>();
    std::string error;
    if (!ReadPicture(path, &picture->data, &error)) {
        SDL_SetError("%s", error.c_str());
        return nullptr;
    }
    // SDL 1.2 gives every surface with an alpha channel SDL_SRCALPHA when it makes it.
    return MakePicture(std::move(picture), true);
}

int FirstPixelByte(SDL_Surface* picture) {
    const WebPicture* web = PictureOf(picture);
    if (web == nullptr || web->data.pixels.empty()) {
        return -1;
    }
    return web->data.pixels[0];
}

void KeyPicture(SDL_Surface* picture, Uint32 key) {
    WebPicture* web = PictureOf(picture);
    if (web == nullptr) {
        return;
    }
    web->keyed = true;
    web->key = key;
    picture->flags |= SDL_SRCCOLORKEY;
    PaintCanvas(picture);
}

void BlendPicture(SDL_Surface* picture) {
    WebPicture* web = PictureOf(picture);
    if (web == nullptr) {
        return;
    }
    web->blended = web->format.Amask != 0;
    picture->flags |= SDL_SRCALPHA;
    PaintCanvas(picture);
}

const SDL_Palette* PicturePalette(const SDL_Surface* picture) {
    const WebPicture* web = PictureOf(picture);
    return web != nullptr ? web->format.palette : nullptr;
}

void SetPictureColours(SDL_Surface* picture, const SDL_Color* colours, int count) {
    WebPicture* web = PictureOf(picture);
    if (web == nullptr || web->format.palette == nullptr) {
        return;
    }
    const int n = std::clamp(count, 0, web->data.colourCount);
    std::copy_n(colours, n, web->data.colours);
    PaintCanvas(picture);
}

SDL_Surface* CopyPictureColumns(SDL_Surface* picture, int x, int w) {
    const WebPicture* web = PictureOf(picture);
    if (web == nullptr || x < 0 || w <= 0 || x + w > web->data.w) {
        return nullptr;
    }
    auto copy = std::make_unique<WebPicture>();
    PictureData& data = copy->data;
    data = web->data;
    const int bytes = (data.bitsPerPixel + 7) / 8;
    data.w = w;
    data.pitch = (w * bytes + 3) & ~3;  // SDL pads every row to four bytes
    data.pixels.assign(static_cast<size_t>(data.pitch) * data.h, 0);
    for (int y = 0; y < data.h; ++y) {
        std::copy_n(web->data.pixels.data() + static_cast<size_t>(y) * web->data.pitch + x * bytes,
                    w * bytes, data.pixels.data() + static_cast<size_t>(y) * data.pitch);
    }
    data.keyed = web->keyed;
    data.key = web->key;
    return MakePicture(std::move(copy), web->blended);
}

void FreePicture(SDL_Surface* picture) {
    if (picture == nullptr) {
        return;
    }
    delete PictureOf(picture);
    picture->userdata = nullptr;
    SDL_FreeSurface(picture);
}
