#pragma once
// Joining texts into a local buffer that the caller has sized for them.

#include <cstring>

// Copies `part`, without its terminator, to `*end` and moves `*end` behind it.
inline void append_text(char** end, const char* part) {
    const std::size_t n = std::strlen(part);
    std::memcpy(*end, part, n);
    *end += n;
}
