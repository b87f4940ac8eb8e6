#include "platform/picture_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/picture_formats.h"

namespace {

// Far beyond any theme's picture; a bigger file is not read into memory at all.
constexpr size_t kMaxFileBytes = size_t{128} << 20;

struct FileClose {
    void operator()(FILE* file) const { fclose(file); }
};

bool ReadWholeFile(const char* path, std::vector<Uint8>* bytes, std::string* error) {
    std::unique_ptr<FILE, FileClose> file(fopen(path, "rb"));
    if (file == nullptr) {
        *error = std::string("cannot open ") + path;
        return false;
    }
    constexpr size_t kBlock = 64 * 1024;
    size_t got = 0;
    do {
        if (bytes->size() >= kMaxFileBytes) {
            *error = std::string("file too large: ") + path;
            return false;
        }
        const size_t used = bytes->size();
        bytes->resize(used + kBlock);
        got = fread(bytes->data() + used, 1, kBlock, file.get());
        bytes->resize(used + got);
    } while (got > 0);
    // A folder opens on Linux and fails here.
    if (ferror(file.get()) != 0) {
        *error = std::string("cannot read ") + path;
        return false;
    }
    return true;
}

bool StartsWith(const Uint8* data, size_t size, const char* magic) {
    const size_t length = strlen(magic);
    return size >= length && memcmp(data, magic, length) == 0;
}

}  // namespace

bool LayOutPicture(Sint64 w, Sint64 h, int bitsPerPixel, PictureData* picture, std::string* error) {
    if (w < 1 || h < 1 || w > kMaxPictureWidth || h > kMaxPictureHeight) {
        *error = "picture size out of range (" + std::to_string(w) + "x" + std::to_string(h) + ")";
        return false;
    }
    const Sint64 pitch = (w * ((bitsPerPixel + 7) / 8) + 3) / 4 * 4;
    if (pitch * h > kMaxPixelBytes) {
        *error = "picture too large (" + std::to_string(w) + "x" + std::to_string(h) + ")";
        return false;
    }
    picture->w = static_cast<int>(w);
    picture->h = static_cast<int>(h);
    picture->bitsPerPixel = bitsPerPixel;
    picture->pitch = static_cast<int>(pitch);
    return true;
}

bool ReadPictureBytes(const Uint8* data, size_t size, PictureData* picture, std::string* error) {
    *picture = PictureData{};
    // Told apart as SDL_image tells them: by their first bytes, never by their names.
    if (StartsWith(data, size, "BM")) {
        return ReadBmp(data, size, picture, error);
    }
    if (StartsWith(data, size, "\x89PNG")) {
        return ReadPng(data, size, picture, error);
    }
    *error = "not a BMP or PNG picture";
    return false;
}

bool ReadPicture(const char* path, PictureData* picture, std::string* error) {
    std::vector<Uint8> bytes;
    return ReadWholeFile(path, &bytes, error) &&
           ReadPictureBytes(bytes.data(), bytes.size(), picture, error);
}
