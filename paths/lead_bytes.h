#pragma once
// Lead bytes of the ANSI code page: the bytes that begin a double-byte
// character. Taken once when the library is loaded and only read afterwards.

#include <cstddef>
#include <cstring>

struct LeadBytes {
    unsigned char lead[256];  // 1: the byte begins a double-byte character
};

// True when the bytes at `s` form one double-byte character: a lead byte
// followed by a byte from 1 to 254. Byte 0 is never a lead byte, so the
// second byte is read only when the first is not the terminator.
inline bool double_byte_at(const LeadBytes& lead, const unsigned char* s)
{
    return lead.lead[s[0]] && s[1] != 0 && s[1] != 0xFF;
}

// Fills `out` from a CPINFO-style LeadByte array: pairs of (first, last) byte,
// ending at a pair of zeros or after `count` bytes, at most 12 bytes in all.
// An empty array leaves every entry 0, which reads text as single-byte.
// Byte 0 never counts as a lead byte: it ends the text.
inline void lead_bytes_from_ranges(LeadBytes& out, const unsigned char* ranges, size_t count)
{
    std::memset(out.lead, 0, sizeof out.lead);
    if (ranges == nullptr)
        return;
    if (count > 12)
        count = 12;
    for (size_t i = 0; i + 1 < count; i += 2) {
        unsigned int lo = ranges[i];
        unsigned int hi = ranges[i + 1];
        if (lo == 0 && hi == 0)
            break;
        if (lo == 0)
            lo = 1;
        for (unsigned int b = lo; b <= hi; ++b)
            out.lead[b] = 1;
    }
}
