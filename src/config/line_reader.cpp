#include "config/line_reader.h"

#include <cstring>

static void StripLineEnd(char* line) {
    size_t len = strlen(line);
    if (len > 0 && line[len - 1] == '\n') {
        line[--len] = '\0';
    }
    if (len > 0 && line[len - 1] == '\r') {
        line[--len] = '\0';
    }
}

void ForEachConfigLine(FILE* file, int lineLimit,
                       const std::function<void(const char* line)>& onLine) {
    char buffer[kLineBufferSize];
    for (int count = 0; count < lineLimit; ++count) {
        if (fgets(buffer, sizeof buffer, file) == nullptr) {
            return;
        }
        StripLineEnd(buffer);
        if (buffer[0] == ';' || buffer[0] == '[' || buffer[0] == ' ') {
            continue;
        }
        onLine(buffer);
    }
}

bool LineHasKey(const char* line, const char* key) {
    return strncmp(line, key, strlen(key)) == 0;
}
