#include "text/bounded_text.h"

#include <climits>
#include <cstring>

size_t CopyText(char* dst, size_t capacity, const char* src) {
    if (capacity == 0) {
        return 0;
    }
    size_t n = 0;
    while (n + 1 < capacity && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
    return n;
}

size_t AppendText(char* dst, size_t capacity, const char* src) {
    size_t used = strnlen(dst, capacity);
    if (used >= capacity) {
        return used;
    }
    return used + CopyText(dst + used, capacity - used, src);
}

static bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ParseDecimal(const char* text) {
    const char* p = text;
    while (IsCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate as a negative number so INT_MIN is reachable without overflow.
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 - (*p - '0');
        if (value < static_cast<long long>(INT_MIN)) {
            value = static_cast<long long>(INT_MIN) - 1;  // saturated, keep consuming
        }
        ++p;
    }
    if (negative) {
        return value < INT_MIN ? INT_MIN : static_cast<int>(value);
    }
    long long positive = -value;
    return positive > INT_MAX ? INT_MAX : static_cast<int>(positive);
}

size_t FormatDecimal(int value, char* dst, size_t capacity) {
    char digits[16];
    size_t n = 0;
    long long v = value;
    bool negative = v < 0;
    if (negative) {
        v = -v;
    }
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    char text[18];
    size_t len = 0;
    if (negative) {
        text[len++] = '-';
    }
    while (n > 0) {
        text[len++] = digits[--n];
    }
    text[len] = '\0';
    return CopyText(dst, capacity, text);
}
