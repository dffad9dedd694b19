#include "paths/file_name_split.h"
#include "paths/lead_bytes.h"
#include "tests/cases/file_name_split_cases.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>

namespace {

constexpr char kMarker = static_cast<char>(0xA5);
constexpr size_t kOutSize = 300;

LeadBytes code_page(bool cp932)
{
    LeadBytes lead;
    if (cp932)
        lead_bytes_from_ranges(lead, kCp932LeadRanges, sizeof kCp932LeadRanges);
    else
        lead_bytes_from_ranges(lead, nullptr, 0);
    return lead;
}

// Output buffers pre-filled with a marker, so that any write behind a part's
// terminator shows.
struct Outputs {
    char drive[kOutSize];
    char dir[kOutSize];
    char name[kOutSize];
    char ext[kOutSize];
    Outputs()
    {
        std::memset(drive, kMarker, kOutSize);
        std::memset(dir, kMarker, kOutSize);
        std::memset(name, kMarker, kOutSize);
        std::memset(ext, kMarker, kOutSize);
    }
};

// The input in a heap block of exactly its size, so that reading past the
// terminator is caught by the address sanitizer.
std::unique_ptr<char[]> exact_copy(const char* text, size_t len)
{
    std::unique_ptr<char[]> copy(new char[len + 1]);
    std::memcpy(copy.get(), text, len + 1);
    return copy;
}

std::string hex(const std::string& s)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

void expect_part(const char* what, const char* buf, size_t limit, const std::string& expected)
{
    const void* nul = std::memchr(buf, 0, kOutSize);
    ASSERT_NE(nul, nullptr) << what << " has no terminator";
    size_t len = static_cast<const char*>(nul) - buf;
    EXPECT_LE(len, limit) << what;
    EXPECT_EQ(hex(std::string(buf, len)), hex(expected)) << what;
    for (size_t i = len + 1; i < kOutSize; ++i) {
        if (buf[i] != kMarker) {
            ADD_FAILURE() << what << ": byte " << i << " behind the terminator was written";
            break;
        }
    }
}

void expect_split(const char* input, size_t input_len, bool cp932, const std::string& drive,
                  const std::string& dir, const std::string& name, const std::string& ext)
{
    LeadBytes lead = code_page(cp932);
    auto text = exact_copy(input, input_len);
    Outputs out;
    split_file_name(text.get(), lead, out.drive, out.dir, out.name, out.ext);
    expect_part("drive", out.drive, 2, drive);
    expect_part("dir", out.dir, kSplitPartMax, dir);
    expect_part("name", out.name, kSplitPartMax, name);
    expect_part("ext", out.ext, kSplitPartMax, ext);
    EXPECT_EQ(std::memcmp(text.get(), input, input_len + 1), 0) << "input was changed";
}

}  // namespace

void PrintTo(const FileNameSplitCase& c, std::ostream* os)
{
    *os << '"' << hex(c.input) << '"' << (c.cp932 ? " cp932" : "");
}

void PrintTo(const FileNameSplitLongCase& c, std::ostream* os)
{
    *os << c.label;
}

class FileNameSplitTable : public ::testing::TestWithParam<FileNameSplitCase> {};

TEST_P(FileNameSplitTable, GivesTheFourParts)
{
    const FileNameSplitCase& c = GetParam();
    expect_split(c.input, std::strlen(c.input), c.cp932, c.drive, c.dir, c.name, c.ext);
}

INSTANTIATE_TEST_SUITE_P(Rows, FileNameSplitTable, ::testing::ValuesIn(kFileNameSplitCases));

class FileNameSplitLong : public ::testing::TestWithParam<FileNameSplitLongCase> {};

TEST_P(FileNameSplitLong, GivesTheFourParts)
{
    const FileNameSplitLongCase& c = GetParam();
    char buf[1024];
    size_t n = build_run_text(c.runs, buf, sizeof buf);
    ASSERT_GT(n, 0u);
    auto span = [&](InputSpan s) {
        EXPECT_LE(size_t(s.from) + s.len, n);
        return std::string(buf + s.from, s.len);
    };
    expect_split(buf, n, c.cp932, span(c.drive), span(c.dir), span(c.name), span(c.ext));
}

INSTANTIATE_TEST_SUITE_P(Rows, FileNameSplitLong, ::testing::ValuesIn(kFileNameSplitLongCases));

// The considered text, found by reading characters from the start.
static std::string considered_text(const std::string& s, const LeadBytes& lead)
{
    size_t i = 0;
    while (i < s.size() && i < kSplitInputMax) {
        unsigned char c = s[i];
        if (lead.lead[c]) {
            if (i + 1 == s.size())
                break;
            unsigned char next = s[i + 1];
            if (next != 0xFF) {
                if (i + 1 == kSplitInputMax)
                    break;
                i += 2;
                continue;
            }
        }
        ++i;
    }
    return s.substr(0, i);
}

// Random texts over the bytes that matter: the parts always join up to the
// considered text, and each part has its shape.
TEST(FileNameSplitRandom, PartsJoinToTheConsideredText)
{
    static const char alphabet[] = {'a', 'b', '.', '.', '\\', '/', ':', '*',
                                    '\x95', '\x5C', '\x81', '\xFF', '\x2E', '\x2F'};
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int cp = 0; cp < 2; ++cp) {
        LeadBytes lead = code_page(cp == 1);
        for (int round = 0; round < 20000; ++round) {
            size_t len = next() % 24;
            std::string s;
            for (size_t i = 0; i < len; ++i)
                s += alphabet[next() % sizeof alphabet];
            auto text = exact_copy(s.c_str(), s.size());
            Outputs out;
            split_file_name(text.get(), lead, out.drive, out.dir, out.name, out.ext);
            std::string d = out.drive, r = out.dir, n = out.name, e = out.ext;
            ASSERT_EQ(hex(d + r + n + e), hex(considered_text(s, lead))) << hex(s);
            ASSERT_TRUE(d.empty() || (d.size() == 2 && d[1] == ':' && s[1] == ':')) << hex(s);
            ASSERT_TRUE(e.empty() || e[0] == '.') << hex(s);
            if (cp == 0) {
                ASSERT_EQ((n + e).find_first_of("\\/"), std::string::npos) << hex(s);
            }
        }
    }
}

TEST(LeadBytes, FromCodePage932Ranges)
{
    LeadBytes lead = code_page(true);
    for (int b = 0; b < 256; ++b) {
        bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(lead.lead[b], expected ? 1 : 0) << "byte " << b;
    }
}

TEST(LeadBytes, EmptyRangesMeanSingleByte)
{
    const unsigned char none[] = {0, 0, 0x81, 0x9F};
    LeadBytes lead;
    std::memset(lead.lead, 7, sizeof lead.lead);
    lead_bytes_from_ranges(lead, none, sizeof none);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(lead.lead[b], 0) << "byte " << b;
}

TEST(LeadBytes, StopsAtCountAndAtTwelveBytes)
{
    const unsigned char ranges[] = {0x81, 0x81, 0x82, 0x82, 0x83, 0x83, 0x84, 0x84,
                                    0x85, 0x85, 0x86, 0x86, 0x87, 0x87, 0, 0};
    LeadBytes lead;
    lead_bytes_from_ranges(lead, ranges, 4);
    EXPECT_EQ(lead.lead[0x81], 1);
    EXPECT_EQ(lead.lead[0x82], 1);
    EXPECT_EQ(lead.lead[0x83], 0);
    lead_bytes_from_ranges(lead, ranges, sizeof ranges);
    EXPECT_EQ(lead.lead[0x86], 1);
    EXPECT_EQ(lead.lead[0x87], 0);
}

TEST(LeadBytes, WholeRangeUpTo0xFFButNeverZero)
{
    const unsigned char ranges[] = {0x00, 0x02, 0xF0, 0xFF, 0, 0};
    LeadBytes lead;
    lead_bytes_from_ranges(lead, ranges, sizeof ranges);
    EXPECT_EQ(lead.lead[0x00], 0);
    EXPECT_EQ(lead.lead[0x01], 1);
    EXPECT_EQ(lead.lead[0x02], 1);
    EXPECT_EQ(lead.lead[0xEF], 0);
    EXPECT_EQ(lead.lead[0xF0], 1);
    EXPECT_EQ(lead.lead[0xFF], 1);
}
