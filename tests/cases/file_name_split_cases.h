#pragma once
// Expected results of the file-name split, shared by the native tests and the
// tests of the built library. Plain data and helpers only: no test framework.

#include <cstddef>

// Lead-byte ranges of code page 932, in CPINFO's LeadByte form.
constexpr unsigned char kCp932LeadRanges[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};

// Short inputs, written out. `cp932` selects the code page 932 lead bytes;
// otherwise the text is read as single-byte.
struct FileNameSplitCase {
    const char* input;
    bool cp932;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
};

constexpr FileNameSplitCase kFileNameSplitCases[] = {
    // input                   cp932  drive  dir                 name      ext
    {"C:\\dir\\file.txt",      false, "C:",  "\\dir\\",          "file",   ".txt"},
    {"",                       false, "",    "",                 "",       ""},
    {"C:",                     false, "C:",  "",                 "",       ""},
    {"C:\\",                   false, "C:",  "\\",               "",       ""},
    {"C:abc",                  false, "C:",  "",                 "abc",    ""},
    {"C:.txt",                 false, "C:",  "",                 "",       ".txt"},
    {"C:..",                   false, "C:",  "..",               "",       ""},
    {"\\\\server\\share\\x",   false, "",    "\\\\server\\share\\", "x",   ""},
    {"dir/sub/f.e",            false, "",    "dir/sub/",         "f",      ".e"},
    {"dir\\",                  false, "",    "dir\\",            "",       ""},
    {"dir\\.txt",              false, "",    "dir\\",            "",       ".txt"},
    {"a.b.c",                  false, "",    "",                 "a.b",    ".c"},
    {".profile",               false, "",    "",                 "",       ".profile"},
    {"abc.",                   false, "",    "",                 "abc",    "."},
    {"a..b",                   false, "",    "",                 "a.",     ".b"},
    {".",                      false, "",    ".",                "",       ""},
    {"..",                     false, "",    "..",               "",       ""},
    {"...",                    false, "",    "..",               "",       "."},
    {"dir\\..",                false, "",    "dir\\..",          "",       ""},
    {"..x",                    false, "",    ".",                "",       ".x"},
    {"dir\\..x",               false, "",    "dir\\.",           "",       ".x"},
    {"C:\\a.b\\c",             false, "C:",  "\\a.b\\",          "c",      ""},
    {"ab:c",                   false, "",    "",                 "ab:c",   ""},
    {":x",                     false, "",    "",                 ":x",     ""},
    {"x:\\a:b\\c",             false, "x:",  "\\a:b\\",          "c",      ""},
    {"d*r\\f?.t*",             false, "",    "d*r\\",            "f?",     ".t*"},

    // Further single-byte edges.
    {"C:.",                    false, "C:",  ".",                "",       ""},
    {"C:/",                    false, "C:",  "/",                "",       ""},
    {"a:b",                    false, "a:",  "",                 "b",      ""},
    {"/",                      false, "",    "/",                "",       ""},
    {"..\\x.txt",              false, "",    "..\\",             "x",      ".txt"},
    {"a/..",                   false, "",    "a/..",             "",       ""},
    {"dir\\...",               false, "",    "dir\\..",          "",       "."},
    {"....",                   false, "",    "",                 "...",    "."},
    {"a.\\b",                  false, "",    "a.\\",             "b",      ""},
    {"a\\b/c\\d",              false, "",    "a\\b/c\\",         "d",      ""},
    {"x.y\\",                  false, "",    "x.y\\",            "",       ""},
    {"ab\x95\x5C" "c.txt",     false, "",    "ab\x95\\",         "c",      ".txt"},
    {"abc\x95",                false, "",    "",                 "abc\x95", ""},

    // Code page 932: double-byte characters are never separators, dots or colons.
    {"ab\x95\x5C" "c.txt",     true,  "",    "",                 "ab\x95\x5C" "c", ".txt"},
    {"dir\\\x95\x5C.txt",      true,  "",    "dir\\",            "\x95\x5C", ".txt"},
    {"\x95\x5C",               true,  "",    "",                 "\x95\x5C", ""},
    {"\x95\x5C\\x",            true,  "",    "\x95\x5C\\",       "x",      ""},
    {"C:\\\x95\x5C\\f.t",      true,  "C:",  "\\\x95\x5C\\",     "f",      ".t"},
    {"x\x81/y",                true,  "",    "",                 "x\x81/y", ""},
    {"a\x95.b",                true,  "",    "",                 "a\x95.b", ""},
    {"\x95:abc",               true,  "",    "",                 "\x95:abc", ""},
    {"\x95\x5C.",              true,  "",    "",                 "\x95\x5C", "."},
    {"\x95\x5C..",             true,  "",    "",                 "\x95\x5C.", "."},
    {"abc\x95",                true,  "",    "",                 "abc",    ""},
    {"dir\\\x81",              true,  "",    "dir\\",            "",       ""},
    {"\x81\x81\x81",           true,  "",    "",                 "\x81\x81", ""},
    {"\x95",                   true,  "",    "",                 "",       ""},
    // A lead byte before 0xFF forms no double-byte character.
    {"\x95\xFF\\x",            true,  "",    "\x95\xFF\\",       "x",      ""},
};

// Long inputs, described as runs of one byte, with each expected part given as
// a span (offset and length) of the input.
struct ByteRun {
    unsigned char byte;
    unsigned short count;
};

struct InputSpan {
    unsigned short from;
    unsigned short len;
};

constexpr size_t kMaxByteRuns = 8;

struct FileNameSplitLongCase {
    const char* label;
    bool cp932;
    ByteRun runs[kMaxByteRuns];             // ends at the first run with count 0
    InputSpan drive, dir, name, ext;
};

// Writes the runs and a terminator into buf; returns the length, or 0 when the
// text and its terminator do not fit in cap bytes.
inline size_t build_run_text(const ByteRun* runs, char* buf, size_t cap)
{
    size_t n = 0;
    for (size_t r = 0; r < kMaxByteRuns && runs[r].count != 0; ++r) {
        for (unsigned i = 0; i < runs[r].count; ++i) {
            if (n + 1 >= cap)
                return 0;
            buf[n++] = static_cast<char>(runs[r].byte);
        }
    }
    if (n >= cap)
        return 0;
    buf[n] = 0;
    return n;
}

constexpr FileNameSplitLongCase kFileNameSplitLongCases[] = {
    {"300 letters", false,
     {{'a', 300}},
     {0, 0}, {0, 0}, {0, 255}, {0, 0}},
    {"258 letters, backslash, letter (260 bytes)", false,
     {{'a', 258}, {'\\', 1}, {'b', 1}},
     {0, 0}, {0, 255}, {259, 1}, {0, 0}},
    {"264 bytes: 250 letters, dot, 3 letters, 10 letters", false,
     {{'a', 250}, {'.', 1}, {'b', 3}, {'c', 10}},
     {0, 0}, {0, 0}, {0, 250}, {250, 10}},
    {"drive, backslash, 300 letters", false,
     {{'C', 1}, {':', 1}, {'\\', 1}, {'a', 300}},
     {0, 2}, {2, 1}, {3, 255}, {0, 0}},
    {"letter, dot, 300 letters", false,
     {{'a', 1}, {'.', 1}, {'x', 300}},
     {0, 0}, {0, 0}, {0, 1}, {1, 255}},
    {"backslash as byte 261 takes no part", false,
     {{'a', 10}, {'\\', 1}, {'b', 249}, {'\\', 1}, {'c', 5}},
     {0, 0}, {0, 11}, {11, 249}, {0, 0}},
    {"backslash as byte 260 ends the directory", false,
     {{'a', 10}, {'.', 1}, {'b', 248}, {'\\', 1}, {'c', 5}},
     {0, 0}, {0, 255}, {260, 0}, {0, 0}},

    {"cp932: 260th byte a lead byte: first 259 bytes", true,
     {{'a', 200}, {'\\', 1}, {'b', 58}, {0x95, 1}, {0x5C, 1}, {'z', 3}},
     {0, 0}, {0, 201}, {201, 58}, {0, 0}},
    {"single-byte: same input, 260 bytes", false,
     {{'a', 200}, {'\\', 1}, {'b', 58}, {0x95, 1}, {0x5C, 1}, {'z', 3}},
     {0, 0}, {0, 201}, {201, 59}, {0, 0}},
    {"cp932: 260th byte the second byte of a character", true,
     {{'a', 200}, {'\\', 1}, {'b', 57}, {0x81, 1}, {0x95, 1}, {0x95, 1}, {0x5C, 1}},
     {0, 0}, {0, 201}, {201, 59}, {0, 0}},
    {"cp932: lead byte before 0xFF as 260th byte stays", true,
     {{'a', 10}, {'\\', 1}, {'b', 248}, {0x95, 1}, {0xFF, 1}},
     {0, 0}, {0, 11}, {11, 249}, {0, 0}},
    {"cp932: lone lead byte at the end of a long input", true,
     {{'a', 100}, {0x95, 1}},
     {0, 0}, {0, 0}, {0, 100}, {0, 0}},
    {"cp932: name cut inside a character keeps 254", true,
     {{'a', 254}, {0x95, 1}, {0x5C, 1}, {'a', 10}},
     {0, 0}, {0, 0}, {0, 254}, {0, 0}},
    {"single-byte: same input, 0x5C a backslash", false,
     {{'a', 254}, {0x95, 1}, {0x5C, 1}, {'a', 10}},
     {0, 0}, {0, 255}, {256, 4}, {0, 0}},
    {"cp932: 255th byte a second byte: cut at 255", true,
     {{'a', 253}, {0x81, 1}, {0x95, 1}, {'a', 10}},
     {0, 0}, {0, 0}, {0, 255}, {0, 0}},
    {"cp932: directory cut inside a character keeps 254", true,
     {{'a', 254}, {0x95, 1}, {0x41, 1}, {'\\', 1}, {'n', 1}},
     {0, 0}, {0, 254}, {257, 1}, {0, 0}},
    {"cp932: extension cut inside a character keeps 254", true,
     {{'.', 1}, {'x', 253}, {0x95, 1}, {0x5C, 1}, {'y', 10}},
     {0, 0}, {0, 0}, {0, 0}, {0, 254}},
};
