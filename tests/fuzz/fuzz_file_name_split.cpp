// Fuzz target: the file-name split, with single-byte, code page 932 or
// arbitrary lead-byte ranges.
//
// Input: byte 0 picks the lead bytes (0: none, 1: code page 932, 2: taken from
// the input); in mode 2, byte 1 is the range count and bytes 2..17 the ranges.
// The rest, up to the first NUL, is the text to split.

#include "tests/fuzz/fuzz_check.h"
#include "paths/file_name_split.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr unsigned char kCp932Ranges[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
constexpr size_t kRangeBytes = 16;

VL_FUZZ_REQUIRE_IN("file-name split")

// The considered text, read as characters independently of the split:
// where characters begin and which of them are single-byte.
struct Considered {
    size_t n = 0;
    std::vector<bool> starts;   // n + 1 entries; starts[n] is true
    std::vector<bool> single;   // n entries: a single-byte character begins here
};

Considered consider(const unsigned char* s, const LeadBytes& lead)
{
    Considered c;
    c.starts.assign(kSplitInputMax + 1, false);
    c.single.assign(kSplitInputMax, false);
    size_t i = 0;
    while (i < kSplitInputMax && s[i] != 0) {
        unsigned char next = s[i + 1];     // s[i] is not the terminator
        if (lead.lead[s[i]] && next == 0)
            break;                          // lone lead byte at the end
        if (lead.lead[s[i]] && next != 0xFF) {
            if (i + 2 > kSplitInputMax)
                break;                      // character would straddle the limit
            c.starts[i] = true;
            i += 2;
            continue;
        }
        c.starts[i] = true;
        c.single[i] = true;
        ++i;
    }
    c.n = i;
    c.starts[i] = true;
    c.starts.resize(i + 1);
    c.single.resize(i);
    return c;
}

// An output buffer of exactly `size` bytes, filled with the marker.
struct Out {
    std::unique_ptr<char[]> bytes;
    size_t size;
    explicit Out(size_t n) : bytes(new char[n]), size(n) { std::memset(bytes.get(), kMarker, n); }

    // Length of the text; the terminator must lie in the buffer and every
    // byte behind it must still be the marker.
    size_t checked_length() const
    {
        const char* end = static_cast<const char*>(std::memchr(bytes.get(), 0, size));
        require(end != nullptr, "part without terminator in its buffer");
        size_t len = static_cast<size_t>(end - bytes.get());
        for (size_t i = len + 1; i < size; ++i)
            require(bytes[i] == kMarker, "byte written behind a part's terminator");
        return len;
    }
};

bool is_separator(unsigned char c) { return c == '\\' || c == '/'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    LeadBytes lead;
    size_t skip = 1;
    switch (data[0] % 3) {
    case 0:
        lead_bytes_from_ranges(lead, nullptr, 0);
        break;
    case 1:
        lead_bytes_from_ranges(lead, kCp932Ranges, sizeof kCp932Ranges);
        break;
    default: {
        unsigned char ranges[kRangeBytes] = {};
        size_t count = size > 1 ? data[1] % (kRangeBytes + 1) : 0;
        size_t have = size > 2 ? size - 2 : 0;
        std::memcpy(ranges, data + 2, have < kRangeBytes ? have : kRangeBytes);
        lead_bytes_from_ranges(lead, ranges, count);
        skip = 2 + kRangeBytes;
        break;
    }
    }
    require(lead.lead[0] == 0, "byte 0 taken as a lead byte");

    // The text in a heap block of its exact size, so any read past its
    // terminator is caught.
    const uint8_t* body = size > skip ? data + skip : data + size;
    size_t body_len = size > skip ? size - skip : 0;
    const void* nul = std::memchr(body, 0, body_len);
    size_t len = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - body) : body_len;
    std::unique_ptr<char[]> text(new char[len + 1]);
    std::memcpy(text.get(), body, len);
    text[len] = 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.get());

    Out parts[4] = {Out(3), Out(kSplitPartMax + 1), Out(kSplitPartMax + 1), Out(kSplitPartMax + 1)};
    split_file_name(text.get(), lead, parts[0].bytes.get(), parts[1].bytes.get(),
                    parts[2].bytes.get(), parts[3].bytes.get());
    require(std::memcmp(text.get(), body, len) == 0 && text[len] == 0, "input text changed");

    size_t plen[4];
    for (int k = 0; k < 4; ++k)
        plen[k] = parts[k].checked_length();
    const Considered c = consider(s, lead);
    const size_t n = c.n;

    // Drive: empty or the first byte and a single-byte colon; present exactly
    // when the text's second character is that colon.
    bool colon_at_1 = n >= 2 && c.single[1] && s[1] == ':';
    require(plen[0] == 0 || plen[0] == 2, "drive neither empty nor two bytes");
    require((plen[0] == 2) == colon_at_1, "drive present without the colon, or missing with it");

    // Where each part lies in the considered text. Without a cut the parts
    // follow one another and fill it. With one (only one part can exceed its
    // limit in 260 bytes), the parts before it sit at the start and those
    // after it at the end, and the cut part is a prefix of what lies between.
    size_t from[4];
    int cut = 0;                            // 1..3: the part that was cut
    {
        size_t total = 0;
        for (int k = 0; k < 4; ++k) {
            from[k] = total;
            total += plen[k];
        }
        bool whole = total == n;
        for (int k = 0; whole && k < 4; ++k)
            whole = std::memcmp(s + from[k], parts[k].bytes.get(), plen[k]) == 0;
        for (int x = 1; !whole && cut == 0 && x < 4; ++x) {
            size_t head = 0, tail = 0;
            for (int k = 0; k < x; ++k)
                from[k] = head, head += plen[k];
            for (int k = x + 1; k < 4; ++k)
                tail += plen[k];
            if (head + tail > n || n - tail - head <= kSplitPartMax)
                continue;                   // no room for a part over its limit
            from[x] = head;
            for (int k = 3, at = static_cast<int>(n); k > x; --k)
                at -= static_cast<int>(plen[k]), from[k] = static_cast<size_t>(at);
            bool fits = true;
            for (int k = 0; fits && k < 4; ++k)
                fits = std::memcmp(s + from[k], parts[k].bytes.get(), plen[k]) == 0;
            if (fits)
                cut = x;
        }
        require(whole || cut != 0, "parts do not give back the considered text");
    }

    for (int k = 0; k < 4; ++k) {
        require(plen[k] <= kSplitPartMax, "part over its limit");
        require(c.starts[from[k]] && c.starts[from[k] + plen[k]],
                "part begins or ends inside a double-byte character");
    }
    if (cut != 0) {
        // Cut to 255 bytes, or to 254 where the 255th byte begins a
        // double-byte character.
        size_t keep = c.starts[from[cut] + kSplitPartMax] ? kSplitPartMax : kSplitPartMax - 1;
        require(plen[cut] == keep, "part cut at the wrong length");
    }

    // Extension: empty, or from a single-byte dot on.
    require(plen[3] == 0 || (s[from[3]] == '.' && c.single[from[3]]), "extension without its dot");
    // Neither name nor extension holds a separator.
    for (int k = 2; k < 4; ++k)
        for (size_t i = from[k]; i < from[k] + plen[k]; ++i)
            require(!(c.single[i] && is_separator(s[i])), "separator in name or extension");
    // A whole directory ends with a separator or a directory-reference dot.
    if (plen[1] > 0 && cut != 1) {
        size_t last = from[1] + plen[1] - 1;
        require(c.single[last] && (is_separator(s[last]) || s[last] == '.'),
                "directory ends with neither separator nor dot");
    }
    return 0;
}
