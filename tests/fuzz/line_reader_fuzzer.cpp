// The shared line reader on arbitrary file contents: each line it hands on fits the
// buffer, carries no line feed and does not start with a skipped character.
#include <cstring>
#include <memory>

#include "config/line_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputFile input(data, size);
    std::unique_ptr<FILE, FileCloser> file(fopen(input.Path(), "r"));
    Require(file != nullptr, "open input");
    constexpr int kLimit = 100;
    int lines = 0;
    ForEachConfigLine(file.get(), kLimit, [&](const char* line) {
        Require(strlen(line) < kLineBufferSize, "line longer than its buffer");
        Require(strchr(line, '\n') == nullptr, "line feed kept");
        Require(strchr(";[ ", line[0]) == nullptr || line[0] == '\0', "skipped line handed on");
        ++lines;
    });
    Require(lines <= kLimit, "more lines than the limit");
    return 0;
}
