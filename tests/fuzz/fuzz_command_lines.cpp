// Fuzz target: the command-line and answer-file builders.
//
// Input: byte 0 picks the builder (value % 3: wizard, selector, answer file)
// and, with bit 2, whether the first text already stands in the output;
// bytes 1-2 give the capacity (0 to 1,024); the rest holds the first text and,
// after a NUL, the second.

#include "tests/fuzz/fuzz_check.h"
#include "companions/command_lines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {


VL_FUZZ_REQUIRE_IN("command lines")

// A heap copy of `text` of its exact size, so any read past it is caught.
std::unique_ptr<char[]> exact_copy(const std::string& text)
{
    std::unique_ptr<char[]> p(new char[text.size() + 1]);
    std::memcpy(p.get(), text.c_str(), text.size() + 1);
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int builder = data[0] % 3;
    const bool in_place = (data[0] & 4) != 0;
    const size_t cap = (data[1] | (data[2] << 8)) % 1025;
    const char* rest = reinterpret_cast<const char*>(data + 3);
    const size_t rest_len = size - 3;
    const std::string first(rest, strnlen(rest, rest_len));
    const std::string second = first.size() < rest_len
        ? std::string(rest + first.size() + 1, strnlen(rest + first.size() + 1, rest_len - first.size() - 1))
        : std::string();

    std::string expected;
    if (builder == 0)
        expected = first + "vlwizpro.exe \"99\"";
    else if (builder == 1)
        expected = first + " \"" + second + " \"";
    else
        expected = first + ".txa";

    // The output block has exactly `cap` bytes: any write or read past it is
    // caught.
    std::unique_ptr<char[]> out(new char[cap]);
    std::memset(out.get(), kMarker, cap);
    std::unique_ptr<char[]> first_copy = exact_copy(first);
    std::unique_ptr<char[]> second_copy = exact_copy(second);
    const char* head = first_copy.get();
    if (in_place) {
        // The first text already in the output, unterminated if it does not fit.
        std::memcpy(out.get(), first.c_str(), first.size() + 1 <= cap ? first.size() + 1 : cap);
        head = out.get();
    }

    bool ok;
    if (builder == 0)
        ok = build_wizard_command(out.get(), cap, head);
    else if (builder == 1)
        ok = build_selector_command(out.get(), cap, head, second_copy.get());
    else
        ok = build_answer_file_name(out.get(), cap, head);

    const bool fits = expected.size() + 1 <= cap;
    require(ok == fits, "result reported as fitting when it does not, or the other way round");
    if (ok)
        require(std::memcmp(out.get(), expected.c_str(), expected.size() + 1) == 0, "wrong result");
    else if (cap > 0)
        require(out[0] == 0, "refused result not left empty");
    require(first == first_copy.get() && second == second_copy.get(), "an input changed");
    return 0;
}
