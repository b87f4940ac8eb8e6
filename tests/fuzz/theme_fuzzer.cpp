// ReadThemeFile on arbitrary theme file contents: every path stays terminated within
// its 100 bytes, however long the folder prefix and the names are.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ThemeFileNames theme;
    Require(ReadThemeFile(InputPath(data, size), &theme), "theme file refused");
    // The record is nothing but 100-byte paths.
    const char* base = theme.themepath;
    for (size_t offset = 0; offset < sizeof theme; offset += sizeof theme.themepath) {
        Require(memchr(base + offset, '\0', sizeof theme.themepath) != nullptr,
                "unterminated path");
    }
    return 0;
}
