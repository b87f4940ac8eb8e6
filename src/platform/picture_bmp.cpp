// BMP files read the way SDL_image 1.2 reads them, down to its oddities, because the
// game keeps each picture in the pixel format its loader gives: uncompressed 1, 4, 8,
// 16, 24 and 32 bits, with the Windows header (40 bytes or one of its longer versions)
// or the OS/2 one (12 bytes). Every offset and size from the file is checked before use.
// Run-length encoded files, which SDL_image also reads, are refused: no theme has any.
#include <algorithm>
#include <cstring>

#include "platform/picture_formats.h"

namespace {

constexpr Uint32 kUncompressed = 0, kBitFields = 3;
constexpr Uint64 kFileHeaderSize = 14;
constexpr Uint32 kOs2HeaderSize = 12, kWindowsFieldsSize = 40;
constexpr int kPaletteLength = 256;

struct Bytes {
    const Uint8* data;
    size_t size;

    bool Has(Uint64 offset, Uint64 count) const { return offset <= size && count <= size - offset; }
    // The little-endian number of count bytes at offset, which Has() vouched for.
    Uint32 At(Uint64 offset, int count) const {
        Uint32 value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = value << 8 | data[offset + i];
        }
        return value;
    }
};

struct BmpLayout {
    Uint32 pixelOffset = 0, headerSize = 0, compression = kUncompressed;
    Sint64 w = 0, h = 0;
    bool topDown = false;
    int bits = 0;
    // SDL_image reads a header's first fields only (12 or 40 bytes); what follows them
    // is where it looks for bit-field masks, whatever the header's own length.
    Uint64 fieldsEnd = 0;
};

bool Refuse(std::string* error, const std::string& reason) {
    *error = reason;
    return false;
}

bool ReadLayout(const Bytes& file, BmpLayout* bmp, std::string* error) {
    if (!file.Has(0, kFileHeaderSize + 4)) {
        return Refuse(error, "BMP header cut short");
    }
    bmp->pixelOffset = file.At(10, 4);
    bmp->headerSize = file.At(14, 4);
    const bool os2 = bmp->headerSize == kOs2HeaderSize;
    bmp->fieldsEnd = kFileHeaderSize + (os2 ? kOs2HeaderSize : kWindowsFieldsSize);
    if (!file.Has(0, bmp->fieldsEnd)) {
        return Refuse(error, "BMP header cut short");
    }
    if (os2) {
        bmp->w = file.At(18, 2);
        bmp->h = file.At(20, 2);
        bmp->bits = static_cast<int>(file.At(24, 2));
    } else {
        bmp->w = static_cast<Sint32>(file.At(18, 4));
        bmp->h = static_cast<Sint32>(file.At(22, 4));
        bmp->bits = static_cast<int>(file.At(28, 2));
        bmp->compression = file.At(30, 4);
    }
    // A negative height means the rows are stored top row first. LayOutPicture refuses
    // the sizes SDL cannot make, 0 and negative widths among them.
    bmp->topDown = bmp->h < 0;
    bmp->h = bmp->topDown ? -bmp->h : bmp->h;
    const int bits = bmp->bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return Refuse(error, std::to_string(bits) + "-bit BMP not supported");
    }
    if (bmp->compression != kUncompressed && bmp->compression != kBitFields) {
        return Refuse(error, "compressed BMP not supported");
    }
    return true;
}

// The masks SDL_image asks SDL for. Palettes ask for none; neither does a 24-bit picture
// whose pixels do not follow the header at once, which SDL's choice then tells apart
// from the usual one by its alpha loss.
bool ReadMasks(const Bytes& file, const BmpLayout& bmp, PictureData* picture, std::string* error) {
    const bool usual =
        bmp.compression == kUncompressed && bmp.pixelOffset == kFileHeaderSize + bmp.headerSize;
    if (bmp.bits < 16 || (bmp.bits == 24 && !usual)) {
        return true;
    }
    if (usual && bmp.bits == 24) {
        picture->rmask = 0x00FF0000;
        picture->gmask = 0x0000FF00;
        picture->bmask = 0x000000FF;
        return true;
    }
    if (usual && bmp.bits == 16) {
        picture->rmask = 0x7C00;
        picture->gmask = 0x03E0;
        picture->bmask = 0x001F;
        return true;
    }
    if (usual) {
        // SDL_image, unlike SDL's own loader, gives plain 32-bit pictures an alpha channel.
        picture->rmask = 0x00FF0000;
        picture->gmask = 0x0000FF00;
        picture->bmask = 0x000000FF;
        picture->amask = 0xFF000000;
        return true;
    }
    // Bit fields, or pixels that do not follow the header at once: the masks are read
    // after the first fields. A 32-bit picture takes a fourth one as its alpha mask, even
    // when a 40-byte header is followed by only three and the fourth is the first pixel.
    const int count = bmp.bits == 32 ? 4 : 3;
    if (!file.Has(bmp.fieldsEnd, 4 * count)) {
        return Refuse(error, "BMP colour masks cut short");
    }
    picture->rmask = file.At(bmp.fieldsEnd, 4);
    picture->gmask = file.At(bmp.fieldsEnd + 4, 4);
    picture->bmask = file.At(bmp.fieldsEnd + 8, 4);
    picture->amask = count == 4 ? file.At(bmp.fieldsEnd + 12, 4) : 0;
    return true;
}

// SDL_image reads all 256 colours from the header's end on, however few the file says it
// has: those beyond its own come from the pixel data, and those past the file's end stay
// as SDL made them. A colour cut short by the end has 0 for its missing bytes.
bool ReadPalette(const Bytes& file, const BmpLayout& bmp, PictureData* picture,
                 std::string* error) {
    const Uint64 start = kFileHeaderSize + bmp.headerSize;
    if (start > 0x7FFFFFFF) {
        return Refuse(error, "BMP palette out of reach");
    }
    const Uint64 entrySize = bmp.headerSize == kOs2HeaderSize ? 3 : 4;
    picture->colourCount = kPaletteLength;
    for (int i = 0; i < kPaletteLength; ++i) {
        const Uint64 at = start + i * entrySize;
        if (!file.Has(at, 1)) {
            break;
        }
        Uint8 bgra[4] = {};
        memcpy(bgra, file.data + at, std::min<Uint64>(entrySize, file.size - at));
        picture->colours[i] = {bgra[2], bgra[1], bgra[0], bgra[3]};
        picture->fileColours = i + 1;
    }
    return true;
}

Uint64 FileRowBytes(const BmpLayout& bmp) {
    return (static_cast<Uint64>(bmp.w) * bmp.bits + 31) / 32 * 4;
}

// Each row is read whole but the last row of a 1- or 4-bit picture, whose padding may be
// missing: SDL_image reads those rows a byte at a time and skips the padding unread.
bool HasPixelData(const Bytes& file, const BmpLayout& bmp) {
    const Uint64 rowBytes = FileRowBytes(bmp);
    const Uint64 lastRowBytes =
        bmp.bits < 8 ? (static_cast<Uint64>(bmp.w) * bmp.bits + 7) / 8 : rowBytes;
    return file.Has(bmp.pixelOffset, (bmp.h - 1) * rowBytes + lastRowBytes);
}

// Palette indices of fewer than 8 bits come one to a byte, the leftmost pixel in the
// high bits of the file's byte.
void CopyRow(const Uint8* source, const BmpLayout& bmp, Uint8* row) {
    if (bmp.bits >= 8) {
        memcpy(row, source, static_cast<size_t>(bmp.w) * (bmp.bits / 8));
        return;
    }
    const int perByte = 8 / bmp.bits;
    const int valueMask = (1 << bmp.bits) - 1;
    for (Sint64 x = 0; x < bmp.w; ++x) {
        const int shift = 8 - bmp.bits * (static_cast<int>(x % perByte) + 1);
        row[x] = static_cast<Uint8>(source[x / perByte] >> shift & valueMask);
    }
}

}  // namespace

bool ReadBmp(const Uint8* data, size_t size, PictureData* picture, std::string* error) {
    const Bytes file{data, size};
    BmpLayout bmp;
    if (!ReadLayout(file, &bmp, error) || !ReadMasks(file, bmp, picture, error) ||
        !LayOutPicture(bmp.w, bmp.h, std::max(bmp.bits, 8), picture, error)) {
        return false;
    }
    if (!HasPixelData(file, bmp)) {
        return Refuse(error, "BMP pixel data cut short");
    }
    if (bmp.bits <= 8 && !ReadPalette(file, bmp, picture, error)) {
        return false;
    }
    picture->pixels.assign(static_cast<size_t>(picture->pitch) * picture->h, 0);
    const Uint64 rowBytes = FileRowBytes(bmp);
    for (int y = 0; y < picture->h; ++y) {
        const Uint64 fileRow = bmp.topDown ? y : picture->h - 1 - y;
        CopyRow(data + bmp.pixelOffset + fileRow * rowBytes, bmp,
                picture->pixels.data() + static_cast<size_t>(y) * picture->pitch);
    }
    return true;
}
