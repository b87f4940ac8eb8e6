// The line grammar shared by config.ini, the theme file and the language file.
#pragma once

#include <cstdio>
#include <functional>

// Longest line text seen at once: a 99-byte buffer holds 98 characters.
constexpr int kLineBufferSize = 99;

// Reads at most lineLimit lines of file, 98 characters at a time (the rest of a longer
// line is read as the next line), strips the CR LF or LF line end, skips lines that
// start with ';', '[' or a space, and hands every other line to onLine.
void ForEachConfigLine(FILE* file, int lineLimit,
                       const std::function<void(const char* line)>& onLine);

// True when line begins with exactly key's characters (case-sensitive).
bool LineHasKey(const char* line, const char* key);

// Closes a FILE* when it goes out of scope.
struct FileCloser {
    void operator()(FILE* file) const {
        if (file != nullptr) {
            fclose(file);
        }
    }
};
