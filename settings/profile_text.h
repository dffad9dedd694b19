// The longest text the platform's INI write takes whole. It turns each 8-bit
// text into a counted UTF-16 string of at most 32,767 characters with the
// terminator. A longer section, key, value or file name is lost: Wine then
// stores an empty value (or drops the key) and answers success, which would
// wipe the value that stood there. The library makes no such write.
#pragma once

#include <cstddef>

#include "frame/bounded_length.h"

constexpr std::size_t kLongestProfileText = 32766;

// True when `text` is absent or no longer than the platform takes whole.
// Reads no further than one byte past that limit.
inline bool fits_profile_text(const char* text) {
    return text == nullptr || !longer_than(text, kLongestProfileText);
}
