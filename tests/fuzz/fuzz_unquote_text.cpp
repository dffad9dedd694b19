// Fuzz target: quote stripping in place.
// Input: the text, up to the first NUL.

#include "tests/fuzz/fuzz_check.h"
#include "paths/unquote_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr size_t kGuard = 16;

VL_FUZZ_REQUIRE_IN("unquote")

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const void* nul = std::memchr(data, 0, size);
    size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;
    const std::string before(reinterpret_cast<const char*>(data), n);

    // Less a quote at the start, less a quote at the end; each end looked at once.
    size_t start = (n > 0 && before[0] == '\'') ? 1 : 0;
    size_t end = (n > 0 && before[n - 1] == '\'') ? n - 1 : n;
    const std::string expected = start < end ? before.substr(start, end - start) : std::string();

    std::unique_ptr<char[]> text(new char[n + 1 + kGuard]);
    std::memcpy(text.get(), before.data(), n);
    text[n] = 0;
    std::memset(text.get() + n + 1, kMarker, kGuard);

    char* result = unquote_text(text.get());
    require(result == text.get(), "did not return the text's address");
    size_t len = std::strlen(text.get());
    require(len <= n, "result longer than the input");
    require(std::string(text.get(), len) == expected, "wrong result");
    for (size_t i = len + 1; i <= n; ++i)
        require(text[i] == before[i], "byte behind the new terminator changed");
    for (size_t i = n + 1; i < n + 1 + kGuard; ++i)
        require(text[i] == kMarker, "written behind the input's terminator");
    return 0;
}
