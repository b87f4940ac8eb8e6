// ReadThemeFile on arbitrary theme file contents: every path stays terminated within
// its 100 bytes, however long the folder prefix and the names are.
#include "config/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputFile input(data, size);
    ThemeFileNames theme;
    Require(ReadThemeFile(input.Path(), &theme), "theme file refused");
    // The record is nothing but 100-byte paths.
    static_assert(sizeof theme % sizeof theme.themepath == 0);
    const char* base = theme.themepath;
    for (size_t offset = 0; offset < sizeof theme; offset += sizeof theme.themepath) {
        Require(AllTerminated({{base + offset, sizeof theme.themepath}}), "unterminated path");
    }
    return 0;
}
