// PNG files through libpng, asked for what SDL_image 1.2 asks it, so the picture comes
// out in the format SDL_image gives: 16-bit samples cut to their high byte, small
// samples one to a byte, grey scaled to 0..255 with a grey palette, grey with alpha as
// RGBA, and a tRNS chunk as a colour key where one key can say it, else as alpha.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "platform/picture_formats.h"

namespace {

// What the reading needs on both ways out of it, the normal return and libpng's jump
// back to setjmp on an error: made before setjmp, released by the destructor after.
struct PngRead {
    const Uint8* data;
    size_t size;
    size_t offset = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
    char failure[160] = "";

    PngRead(const Uint8* bytes, size_t length);
    ~PngRead() { png_destroy_read_struct(&png, &info, nullptr); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;
};

void OnPngError(png_structp png, png_const_charp message) {
    PngRead* read = static_cast<PngRead*>(png_get_error_ptr(png));
    snprintf(read->failure, sizeof read->failure, "%s", message);
    png_longjmp(png, 1);
}

// SDL_image loads pictures that libpng only warns about, and so do we, quietly.
void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void ReadPngBytes(png_structp png, png_bytep out, png_size_t count) {
    PngRead* read = static_cast<PngRead*>(png_get_io_ptr(png));
    if (count > read->size - read->offset) {
        png_error(png, "file cut short");
    }
    memcpy(out, read->data + read->offset, count);
    read->offset += count;
}

PngRead::PngRead(const Uint8* bytes, size_t length) : data(bytes), size(length) {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnPngError, OnPngWarning);
    if (png != nullptr) {
        info = png_create_info_struct(png);
        png_set_read_fn(png, this, ReadPngBytes);
    }
}

// The key SDL_image takes from a tRNS chunk, or -1 for none. A palette keys its one
// fully transparent entry when every other listed entry is opaque; any other palette
// transparency is expanded to an alpha channel instead. A grey or RGB picture keys the
// low bytes of the chunk's red, green and blue, mapped as SDL_MapRGB maps them for its
// red 0xFF, green 0xFF00, blue 0xFF0000 (for grey, the three are 0).
Sint64 ChooseKey(png_structp png, png_infop info) {
    png_bytep alphas = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    if (png_get_tRNS(png, info, &alphas, &count, &colour) == 0) {
        return -1;
    }
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE) {
        return (colour->red & 0xFF) | (colour->green & 0xFF) << 8 | (colour->blue & 0xFF) << 16;
    }
    Sint64 transparent = -1;
    for (int i = 0; i < count; ++i) {
        if (alphas[i] == 0 && transparent < 0) {
            transparent = i;
        } else if (alphas[i] != 255) {
            png_set_expand(png);
            return -1;
        }
    }
    return transparent;
}

// Grey asks SDL for an 8-bit surface with masks, which SDL_image gives a grey ramp.
void ReadPalette(png_structp png, png_infop info, PictureData* picture) {
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY) {
        picture->colourCount = picture->fileColours = 256;
        for (int i = 0; i < 256; ++i) {
            const Uint8 grey = static_cast<Uint8>(i);
            picture->colours[i] = {grey, grey, grey, 0};
        }
        return;
    }
    png_colorp entries = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &entries, &count);
    picture->colourCount = picture->fileColours = count;
    for (int i = 0; i < count; ++i) {
        picture->colours[i] = {entries[i].red, entries[i].green, entries[i].blue, 0};
    }
}

// Runs between setjmp and the jump back: it keeps nothing that needs destroying.
bool DecodePng(PngRead* read, PictureData* picture, std::string* error) {
    png_structp png = read->png;
    png_infop info = read->info;
    png_read_info(png, info);
    const int fileType = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (fileType == PNG_COLOR_TYPE_GRAY) {
        png_set_expand(png);
    }
    const Sint64 key = ChooseKey(png, info);
    if (fileType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    if (!LayOutPicture(png_get_image_width(png, info), png_get_image_height(png, info),
                       png_get_bit_depth(png, info) * channels, picture, error)) {
        return false;
    }
    if (png_get_rowbytes(png, info) > static_cast<size_t>(picture->pitch)) {
        *error = "PNG rows longer than their picture";
        return false;
    }
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE) {
        // Our targets are little-endian: the bytes are red, green, blue (, alpha).
        picture->rmask = 0x000000FF;
        picture->gmask = 0x0000FF00;
        picture->bmask = 0x00FF0000;
        picture->amask = channels == 4 ? 0xFF000000 : 0;
    }
    picture->keyed = key >= 0;
    picture->key = key >= 0 ? static_cast<Uint32>(key) : 0;

    picture->pixels.assign(static_cast<size_t>(picture->pitch) * picture->h, 0);
    read->rows.resize(picture->h);
    for (int y = 0; y < picture->h; ++y) {
        read->rows[y] = picture->pixels.data() + static_cast<size_t>(y) * picture->pitch;
    }
    png_read_image(png, read->rows.data());
    // Like SDL_image, nothing after the pixels is read: a missing IEND does not matter.
    if (picture->bitsPerPixel == 8) {
        ReadPalette(png, info, picture);
    }
    return true;
}

}  // namespace

bool ReadPng(const Uint8* data, size_t size, PictureData* picture, std::string* error) {
    PngRead read(data, size);
    if (read.info == nullptr) {
        *error = "out of memory for the PNG reader";
        return false;
    }
    if (setjmp(png_jmpbuf(read.png))) {
        *error = std::string("bad PNG: ") + read.failure;
        return false;
    }
    return DecodePng(&read, picture, error);
}
