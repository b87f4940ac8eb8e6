// The shared line reader on arbitrary file contents: each line it hands on fits the
// buffer, carries no line feed and does not start with a skipped character.
#include <memory>

#include "config/line_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<FILE, FileCloser> file(fopen(InputPath(data, size), "r"));
    int lines = 0;
    ForEachConfigLine(file.get(), 100, [&](const char* line) {
        Require(strlen(line) < kLineBufferSize && strchr(line, '\n') == nullptr, "line too long");
        Require(strchr(";[ ", line[0]) == nullptr || line[0] == '\0', "skipped line handed on");
        ++lines;
    });
    Require(lines <= 100, "more lines than the limit");
    return 0;
}
