// Writes the fuzz targets' seed inputs, taken from the shared case tables, into
// <dir>/<target>/. Usage: make_seeds <dir>

#include "tests/cases/file_name_split_cases.h"
#include "tests/cases/request_field_cases.h"
#include "tests/cases/unquote_cases.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct SeedDir {
    fs::path dir;
    int next = 0;
    SeedDir(const fs::path& root, const char* target) : dir(root / target) { fs::create_directories(dir); }
    void add(const std::string& bytes)
    {
        std::ofstream(dir / std::to_string(next++), std::ios::binary) << bytes;
    }
};

// Prefix byte, then the text: the layout the targets read.
std::string with_mode(char mode, const std::string& text) { return std::string(1, mode) + text; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <dir>\n");
        return 2;
    }
    const fs::path root = argv[1];

    SeedDir split(root, "fuzz_file_name_split");
    for (const auto& c : kFileNameSplitCases)
        split.add(with_mode(c.cp932 ? 1 : 0, c.input));
    for (const auto& c : kFileNameSplitLongCases) {
        char text[1024];
        size_t n = build_run_text(c.runs, text, sizeof text);
        split.add(with_mode(c.cp932 ? 1 : 0, std::string(text, n)));
    }
    // Lead bytes from the input: code page 932's ranges, then one odd range.
    std::string ranges(reinterpret_cast<const char*>(kCp932LeadRanges), sizeof kCp932LeadRanges);
    ranges.resize(16, 0);
    split.add(std::string("\x02\x06", 2) + ranges + "C:\\\x95\x5C\\f.t");
    split.add(std::string("\x02\x02", 2) + std::string("\x2E\x5C", 2) + std::string(14, 0) + "a.b\\c..d");

    SeedDir fields(root, "fuzz_request_fields");
    for (const auto& c : kRequestFieldCases)
        fields.add(c.request);

    SeedDir unquote(root, "fuzz_unquote_text");
    for (const auto& c : kUnquoteCases)
        unquote.add(c.before);

    // Builder (0 wizard, 1 selector, 2 answer file; +4 in place), capacity
    // (two bytes, low first), first text, NUL, second text.
    SeedDir lines(root, "fuzz_command_lines");
    auto line = [&lines](int builder, unsigned cap, const std::string& first, const std::string& second) {
        std::string s{static_cast<char>(builder), static_cast<char>(cap & 0xFF), static_cast<char>(cap >> 8)};
        lines.add(s + first + std::string(1, '\0') + second);
    };
    line(0, 1024, "C:\\VL\\", "");
    line(4, 1024, "D:\\wiz dir\\", "");
    line(0, 18, "", "");
    line(1, 1024, "vlrexe.exe", "C:\\rep\\base");
    line(5, 8, "ab", "c");
    line(1, 7, "ab", "c");
    line(2, 1024, "report", "");
    line(6, 1024, std::string(1019, 'b'), "");
    return 0;
}
