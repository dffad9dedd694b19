#include "paths/file_name_split.h"

#include <cstring>

namespace {

static_assert(kSplitInputMax % 4 == 0, "the length scan steps four bytes at a time");

// Bytes that the scan must look at: dot, backslash, slash and colon.
constexpr bool special(unsigned char c)
{
    return c == '.' || c == '\\' || c == '/' || c == ':';
}

struct SpecialTable {
    bool is[256];
    constexpr SpecialTable() : is()
    {
        for (int c = 0; c < 256; ++c)
            is[c] = special(static_cast<unsigned char>(c));
    }
};
constexpr SpecialTable kSpecial;

// Kinds of byte, recorded from the first lead byte of the text on.
enum : unsigned char { kSingle = 0, kDoubleFirst = 1, kDoubleSecond = 2 };

struct Text {
    const unsigned char* s;
    size_t n;                               // length of the considered text
    size_t dbcs_from;                       // bytes before this are all single-byte characters
    unsigned char kind[kSplitInputMax];     // valid from dbcs_from to n

    // True when byte p is a character of its own (the only kind ever compared
    // with separators, colon and dot).
    bool single(size_t p) const { return p < dbcs_from || kind[p] == kSingle; }
    bool second_byte(size_t p) const { return p >= dbcs_from && kind[p] == kDoubleSecond; }
};

// Measures the considered text in one forward pass. Until the first lead byte
// nothing is recorded; from there on every byte's kind is.
void measure(Text& t, const LeadBytes& lead)
{
    const unsigned char* s = t.s;
    auto plain = [s, &lead](size_t k) { return s[k] != 0 && !lead.lead[s[k]]; };
    size_t i = 0;
    // Unrolled: the limit (a multiple of 4) is tested once per four bytes.
    while (i < kSplitInputMax && plain(i) && plain(i + 1) && plain(i + 2) && plain(i + 3))
        i += 4;
    while (i < kSplitInputMax && plain(i))
        ++i;
    t.dbcs_from = i;
    while (i < kSplitInputMax) {
        unsigned char c = s[i];
        if (c == 0)
            break;
        if (double_byte_at(lead, s + i)) {
            if (i + 1 >= kSplitInputMax)
                break;                      // character would straddle the limit
            t.kind[i] = kDoubleFirst;
            t.kind[i + 1] = kDoubleSecond;
            i += 2;
            continue;
        }
        if (lead.lead[c] && s[i + 1] == 0)
            break;                          // lone lead byte at the end: dropped
        t.kind[i] = kSingle;
        ++i;
    }
    t.n = i;
}

// True when the dot at p (the last unassigned character) names a directory:
// "." or ".." standing at the start, after a separator or after the drive colon.
bool directory_reference(const Text& t, size_t p)
{
    size_t q = p;
    if (q > 0 && t.single(q - 1) && t.s[q - 1] == '.')
        --q;
    if (q == 0)
        return true;
    size_t r = q - 1;
    if (!t.single(r))
        return false;
    unsigned char c = t.s[r];
    return c == '\\' || c == '/' || (r == 1 && c == ':');
}

bool drive_colon(const Text& t)
{
    return t.n >= 2 && t.s[1] == ':' && t.single(1);
}

// Parts are short as a rule: plain moves beat the start-up cost of a block
// copy instruction, which compilers otherwise pick for a bounded memcpy.
inline void copy_bytes(char* out, const unsigned char* in, size_t n)
{
    for (; n >= 8; n -= 8, in += 8, out += 8)
        std::memcpy(out, in, 8);
    if (n >= 4) {
        std::memcpy(out, in, 4);
        n -= 4, in += 4, out += 4;
    }
    for (; n > 0; --n)
        *out++ = static_cast<char>(*in++);
}

// Copies bytes [from, to) of the text into out, cut to the part limit.
void put(const Text& t, char* out, size_t from, size_t to)
{
    size_t len = to - from;
    if (len > kSplitPartMax) {
        len = kSplitPartMax;
        if (t.second_byte(from + kSplitPartMax))
            --len;
    }
    copy_bytes(out, t.s + from, len);
    out[len] = 0;
}

}  // namespace

void split_file_name(const char* text, const LeadBytes& lead,
                     char* drive, char* dir, char* name, char* ext)
{
    drive[0] = dir[0] = name[0] = ext[0] = 0;

    Text t;
    t.s = reinterpret_cast<const unsigned char*>(text);
    measure(t, lead);

    // Right-to-left over the last component; [0, end) is still unassigned.
    size_t end = t.n;
    bool ext_taken = false;
    bool dir_reached = false;
    size_t p = t.n;
    while (p > 0) {
        --p;
        unsigned char c = t.s[p];
        // Ordinary bytes, and either byte of a double-byte character, change nothing.
        if (!kSpecial.is[c] || !t.single(p))
            continue;
        if (c == '.') {
            if (p + 1 == end && directory_reference(t, p)) {
                dir_reached = true;         // the dots stay in the directory
                break;
            }
            if (!ext_taken) {
                put(t, ext, p, end);
                end = p;
                ext_taken = true;
            }
        } else if (c == '\\' || c == '/') {
            put(t, name, p + 1, end);
            end = p + 1;
            dir_reached = true;
            break;
        } else if (c == ':' && p == 1) {
            drive[0] = text[0];
            drive[1] = ':';
            drive[2] = 0;
            put(t, name, 2, end);
            return;
        }
    }
    if (!dir_reached) {
        put(t, name, 0, end);
        return;
    }

    // Directory reached at p: to its left only the drive colon still counts.
    size_t from = 0;
    if (p > 1 && drive_colon(t)) {
        drive[0] = text[0];
        drive[1] = ':';
        drive[2] = 0;
        from = 2;
    }
    put(t, dir, from, end);
}
