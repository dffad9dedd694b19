// Path and text utilities through their binary interface: the two file-name
// exports, the temporary directory and files, and quote stripping.
//
// The suite CodePage932 needs a process whose ANSI code page is 932 (Wine takes
// it from the locale: LC_ALL=ja_JP.UTF-8) and runs as a test of its own; the
// suite SingleByteCodePage needs a code page without lead bytes. Every other
// test holds under either.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "cases/file_name_split_cases.h"
#include "cases/unquote_cases.h"
#include "support/debug_output.h"
#include "support/files.h"
#include "support/vlrun32.h"

namespace {

// A text with every byte outside printable ASCII written as \xNN.
std::string shown(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

// Calls a buffer export that answers in the host buffer and returns its
// address; checks the answer and that nothing behind its terminator changed.
void expect_answer(const char* name, const std::string& before, const std::string& after) {
    SCOPED_TRACE(std::string(name) + " of " + shown(before));
    HostBuffer buffer(before, std::max(before.size(), after.size()) + 64);
    EXPECT_EQ(call_buffer(name, buffer.data()), arg(buffer.data())) << "not the host buffer's address";
    EXPECT_EQ(shown(buffer.text()), shown(after));
    EXPECT_TRUE(buffer.untouched_from(after.size() + 1)) << "bytes behind the terminator changed";
}

// GetFileName's answer from the four parts of a split.
std::string rebuilt(const std::string& drive, const std::string& dir, const std::string& name,
                    const std::string& ext) {
    return (drive.empty() && dir.empty() ? ".\\" : drive + dir) + name + ext;
}

void expect_split_case(const FileNameSplitCase& c) {
    expect_answer("GetFileNameOnly", c.input, c.name);
    expect_answer("GetFileName", c.input, rebuilt(c.drive, c.dir, c.name, c.ext));
}

void expect_long_split_case(const FileNameSplitLongCase& c) {
    SCOPED_TRACE(c.label);
    char text[512];
    const std::size_t length = build_run_text(c.runs, text, sizeof text);
    ASSERT_NE(length, 0u);
    const std::string input(text, length);
    auto part = [&](InputSpan s) { return input.substr(s.from, s.len); };
    expect_answer("GetFileNameOnly", input, part(c.name));
    expect_answer("GetFileName", input, rebuilt(part(c.drive), part(c.dir), part(c.name), part(c.ext)));
}

bool single_byte_code_page() {
    CPINFO info{};
    return GetCPInfo(GetACP(), &info) && info.MaxCharSize == 1;
}

class SingleByteCodePage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(single_byte_code_page())
            << "this process runs under code page " << GetACP() << ", which has lead bytes";
    }
};

class CodePage932 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "this process does not run under code page 932: "
                                     "start it with LC_ALL=ja_JP.UTF-8";
    }
};

// The name 0x95 0x5C in a directory: one double-byte character under code
// page 932, a byte and a backslash under a single-byte code page.
const std::string kDoubleByteName = "dir\\\x95\x5C.txt";

// ---------------------------------------------------------------- GetFileName

struct BeforeAfter {
    const char* before;
    const char* after;
};

TEST(GetFileName, GivesEveryNameADirectory) {
    const BeforeAfter cases[] = {
        {"", ".\\"},
        {"abc.txt", ".\\abc.txt"},
        {".profile", ".\\.profile"},
        {"*.txt", ".\\*.txt"},
        {"abc.", ".\\abc."},
        {"C:", "C:"},
        {"C:abc.txt", "C:abc.txt"},
        {"\\abc.txt", "\\abc.txt"},
        {"dir\\", "dir\\"},
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},
        {".", "."},
        {"..", ".."},
        {"..x", "..x"},
        {"C:\\dir\\file.txt", "C:\\dir\\file.txt"},
        {"dir/sub/f.e", "dir/sub/f.e"},
        {"a.b.c", ".\\a.b.c"},
    };
    for (const BeforeAfter& c : cases)
        expect_answer("GetFileName", c.before, c.after);
}

TEST(GetFileName, LongestAnswerHas262Characters) {
    const std::string input = std::string(255, 'n') + "." + std::string(4, 'e');
    ASSERT_EQ(input.size(), 260u);
    HostBuffer buffer(input, 263 + 16);
    EXPECT_EQ(call_buffer("GetFileName", buffer.data()), arg(buffer.data()));
    EXPECT_EQ(buffer.text(), ".\\" + input);
    EXPECT_EQ(buffer.text().size(), 262u);
    EXPECT_TRUE(buffer.untouched_from(263));
}

TEST(GetFileName, BytesBeyondThe260thTakeNoPart) {
    // 300 letters: the name is cut to 255; the rest of the host's text, behind
    // the new terminator, keeps its old bytes.
    const std::string input(300, 'a');
    HostBuffer buffer(input, 400);
    call_buffer("GetFileName", buffer.data());
    EXPECT_EQ(buffer.text(), ".\\" + std::string(255, 'a'));
    EXPECT_TRUE(buffer.untouched_from(258));
}

// ------------------------------------------------------------ GetFileNameOnly

TEST(GetFileNameOnly, GivesTheBareName) {
    const BeforeAfter cases[] = {
        {"C:\\dir\\abc.txt", "abc"},
        {"abc", "abc"},
        {"a.b.c", "a.b"},
        {"abc.", "abc"},
        {"*.txt", "*"},
        {"\\\\server\\share\\x", "x"},
        {".profile", ""},
        {"dir\\", ""},
        {"C:", ""},
        {".", ""},
        {"..x", ""},
        {"", ""},
        {"C:abc", "abc"},
        {"dir/sub/f.e", "f"},
    };
    for (const BeforeAfter& c : cases)
        expect_answer("GetFileNameOnly", c.before, c.after);
}

// ------------------------------------------- the split's cases, by code page

TEST_F(SingleByteCodePage, SplitCasesThroughBothExports) {
    for (const FileNameSplitCase& c : kFileNameSplitCases)
        if (!c.cp932)
            expect_split_case(c);
    for (const FileNameSplitLongCase& c : kFileNameSplitLongCases)
        if (!c.cp932)
            expect_long_split_case(c);
}

TEST_F(SingleByteCodePage, SecondByte0x5CIsABackslash) {
    expect_answer("GetFileNameOnly", kDoubleByteName, "");
    expect_answer("GetFileName", kDoubleByteName, kDoubleByteName);
    expect_answer("GetFileNameOnly", "ab\x95\x5C" "c.txt", "c");
}

TEST(CodePage932Check, ProcessRunsUnderCodePage932) {
    EXPECT_EQ(GetACP(), 932u) << "start this test with LC_ALL=ja_JP.UTF-8: Wine takes its "
                                 "ANSI code page from the locale";
}

TEST_F(CodePage932, DoubleByteCharacter0x95_0x5CStaysWhole) {
    expect_answer("GetFileNameOnly", kDoubleByteName, "\x95\x5C");
    expect_answer("GetFileName", kDoubleByteName, kDoubleByteName);
    expect_answer("GetFileNameOnly", "ab\x95\x5C" "c.txt", "ab\x95\x5C" "c");
}

TEST_F(CodePage932, SplitCasesThroughBothExports) {
    for (const FileNameSplitCase& c : kFileNameSplitCases)
        if (c.cp932)
            expect_split_case(c);
    for (const FileNameSplitLongCase& c : kFileNameSplitLongCases)
        if (c.cp932)
            expect_long_split_case(c);
}

TEST_F(CodePage932, LeadByteAsThe260thByteIsLeftOut) {
    // 200 letters, a backslash, 58 letters, then 0x95 0x5C as bytes 260 and
    // 261: the name ends before the character instead of inside it.
    const std::string input = std::string(200, 'a') + "\\" + std::string(58, 'b') + "\x95\x5Czzz";
    expect_answer("GetFileNameOnly", input, std::string(58, 'b'));
    expect_answer("GetFileName", input, input.substr(0, 259));
}

// ----------------------------------------------------------- temporary files

std::string temp_path() {
    char path[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof path, path);
    return std::string(path, n);
}

// The files that one test made in the temporary directory, deleted at its end.
class CreatedFiles {
public:
    ~CreatedFiles() {
        for (const std::string& f : files_)
            DeleteFileA(f.c_str());
    }
    // The full names of the files whose names are `stem` plus an extension.
    std::vector<std::string> find(const std::string& stem) {
        std::vector<std::string> found;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((stem + ".*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return found;
        const std::string dir = stem.substr(0, stem.find_last_of('\\') + 1);
        do {
            found.push_back(dir + data.cFileName);
            files_.insert(found.back());
            EXPECT_EQ(data.nFileSizeLow, 0u) << found.back() << " is not empty";
        } while (FindNextFileA(h, &data));
        FindClose(h);
        return found;
    }

private:
    std::set<std::string> files_;
};

TEST(VLWGetTempPath, AnswersAndSendsTheTemporaryDirectory) {
    const std::string expected = temp_path();
    ASSERT_FALSE(expected.empty());
    for (const std::string& before : {std::string(), std::string("C:\\old\\text"), std::string(600, 'x')}) {
        SCOPED_TRACE("host text of " + std::to_string(before.size()) + " bytes");
        HostBuffer buffer(before);
        DebugOutputCapture capture;
        EXPECT_EQ(call_buffer("VLWGetTempPath", buffer.data()), arg(buffer.data()));
        EXPECT_EQ(buffer.text(), expected);
        EXPECT_TRUE(buffer.untouched_from(expected.size() + 1));
        EXPECT_EQ(capture.messages(), std::vector<std::string>{expected});
    }
}

TEST(VLWGetTempFilename, CreatesAFileNamedWithThePrefix) {
    const struct {
        const char* host;
        const char* prefix;
    } cases[] = {
        {"", "VLP"}, {"A", "A"}, {"AB", "AB"}, {"ABC", "ABC"}, {"ABCDEF", "ABC"}, {"x.yz", "x.y"},
    };
    const std::string dir = temp_path();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("host text ") + shown(c.host));
        CreatedFiles files;
        HostBuffer buffer(c.host);
        DebugOutputCapture capture;
        EXPECT_EQ(call_buffer("VLWGetTempFilename", buffer.data()), arg(buffer.data()));
        const std::string answer = buffer.text();
        EXPECT_TRUE(buffer.untouched_from(answer.size() + 1));
        EXPECT_EQ(capture.messages(), std::vector<std::string>{"VLWGetTempFilename"});

        // The answer is the temporary directory, the prefix and the unique part.
        ASSERT_GT(answer.size(), dir.size() + std::strlen(c.prefix)) << answer;
        EXPECT_EQ(answer.substr(0, dir.size()), dir);
        EXPECT_EQ(answer.substr(dir.size(), std::strlen(c.prefix)), c.prefix);
        EXPECT_EQ(answer.find('\\', dir.size()), std::string::npos) << answer;

        // The file exists with the answer's name and the extension .tmp.
        const std::vector<std::string> found = files.find(answer);
        ASSERT_EQ(found.size(), 1u) << "files named " << answer << ".*";
        EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, found[0].c_str(), -1,
                                 (answer + ".tmp").c_str(), -1),
                  CSTR_EQUAL)
            << found[0];
    }
}

TEST(VLWGetTempFilename, TwoCallsMakeTwoFiles) {
    CreatedFiles files;
    HostBuffer first("VLT"), second("VLT");
    call_buffer("VLWGetTempFilename", first.data());
    call_buffer("VLWGetTempFilename", second.data());
    EXPECT_NE(first.text(), second.text());
    EXPECT_EQ(files.find(first.text()).size(), 1u) << first.text();
    EXPECT_EQ(files.find(second.text()).size(), 1u) << second.text();
}

TEST_F(CodePage932, TempFilePrefixCountsDoubleByteCharactersWhole) {
    // Three characters of the host's text, two of them double-byte. Cut after
    // three bytes instead, the prefix would end in a lone lead byte, which the
    // platform drops. Only the name is checked: where the Unix locale is not
    // installed, Wine cannot create a file with this name on disk, although
    // it answers with it; a file that was made is removed.
    HostBuffer buffer("\x95\x5C\x95\x5C" "AB");
    call_buffer("VLWGetTempFilename", buffer.data());
    const std::string answer = buffer.text();
    DeleteFileA((answer + ".tmp").c_str());
    const std::string dir = temp_path();
    ASSERT_GT(answer.size(), dir.size() + 5) << shown(answer);
    EXPECT_EQ(shown(answer.substr(dir.size(), 5)), shown("\x95\x5C\x95\x5C" "A"));
}

// ------------------------------------------------------------- UnquoteString

// Calls UnquoteString on a host-owned text in a marker-filled buffer; checks
// that it returns its argument and writes nothing behind the new terminator.
void expect_unquoted(const std::string& before, const std::string& after) {
    SCOPED_TRACE("UnquoteString of " + (before.size() > 40 ? std::to_string(before.size()) + " bytes"
                                                            : shown(before)));
    HostBuffer text(before, before.size() + 1 + 16);
    EXPECT_EQ(call_stack("UnquoteString", {arg(text.data())}), arg(text.data()));
    EXPECT_EQ(text.text(), after);
    EXPECT_TRUE(text.untouched_from(after.size() + 1)) << "bytes behind the terminator changed";
}

TEST(UnquoteString, StripsOneQuoteAtEachEnd) {
    for (const UnquoteCase& c : kUnquoteCases)
        expect_unquoted(c.before, c.after);
}

TEST(UnquoteString, LongTextsGetTheSameTreatment) {
    const std::string body(3998, 'x');
    expect_unquoted("'" + body + "'", body);
    expect_unquoted("'" + body + "x", body + "x");
    expect_unquoted("x" + body + "'", "x" + body);
    expect_unquoted("x" + body + "x", "x" + body + "x");
    expect_unquoted("''" + body + "''", "'" + body + "'");
}

TEST(UnquoteString, NullTextReturnsNull) {
    EXPECT_EQ(call_stack("UnquoteString", {0}), 0u);
}

}  // namespace
