// The copy-out of a result into the host buffer: the whole text, terminator
// included, from the first byte; what lies behind the terminator is kept.
// The host guarantees the room (the longest result of each export is fixed).
#pragma once

#include <cstring>

inline void copy_out(char* host, const char* text) {
    std::memmove(host, text, std::strlen(text) + 1);
}
