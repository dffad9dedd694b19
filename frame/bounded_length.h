// Measuring a caller's text against a limit without reading to its end: a
// text far longer than anything the library takes may reach memory that is
// not readable, so the measure stops one byte past the limit.
#pragma once

#include <cstddef>

// The length of `text` when it has at most `limit` characters, else
// limit + 1. Reads at most limit + 1 bytes.
inline std::size_t bounded_length(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n <= limit && text[n] != '\0')
        ++n;
    return n;
}

// True when `text` has more than `limit` characters.
inline bool longer_than(const char* text, std::size_t limit) { return bounded_length(text, limit) > limit; }
