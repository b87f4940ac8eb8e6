// ReadPictureBytes on arbitrary files: it reads nothing outside them (the sanitizers see
// to that), a refusal says why, and a picture it accepts has exactly its rows of pixels
// and a palette within its 256 colours.

#include <string>

#include "fuzz_support.h"
#include "platform/picture_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PictureData picture;
    std::string error;
    if (!ReadPictureBytes(data, size, &picture, &error)) {
        Require(!error.empty(), "refused without a reason");
        return 0;
    }
    const int bits = picture.bitsPerPixel;
    Require(bits == 8 || bits == 16 || bits == 24 || bits == 32, "bits per pixel");
    Require(picture.w > 0 && picture.h > 0 && picture.w * (bits / 8) <= picture.pitch, "size");
    Require(picture.pixels.size() == static_cast<size_t>(picture.pitch) * picture.h, "rows");
    Require(0 <= picture.fileColours && picture.fileColours <= picture.colourCount &&
                picture.colourCount <= 256 && (picture.colourCount > 0) == (bits == 8),
            "palette");
    return 0;
}
