// Bounded text and number helpers: the only way text enters a fixed-size field,
// and the only way numbers are read from files and sockets.
#pragma once

#include <cstddef>

// Copies src into dst (capacity bytes, terminator included), truncating if needed.
// dst always ends up zero-terminated when capacity > 0. Returns the length written.
size_t CopyText(char* dst, size_t capacity, const char* src);

template <size_t N>
size_t CopyText(char (&dst)[N], const char* src) {
    return CopyText(dst, N, src);
}

// Appends src to the zero-terminated text in dst, truncating at capacity.
size_t AppendText(char* dst, size_t capacity, const char* src);

template <size_t N>
size_t AppendText(char (&dst)[N], const char* src) {
    return AppendText(dst, N, src);
}

// Reads a decimal integer the way atoi does (leading white space, optional sign,
// digits up to the first other character, no digits reads as 0), but saturates at
// the int range instead of overflowing.
int ParseDecimal(const char* text);

// Writes value in decimal (minus sign, no leading zeros) into dst. Returns the length.
size_t FormatDecimal(int value, char* dst, size_t capacity);

template <size_t N>
size_t FormatDecimal(int value, char (&dst)[N]) {
    return FormatDecimal(value, dst, N);
}
