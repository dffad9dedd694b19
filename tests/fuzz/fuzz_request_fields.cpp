// Fuzz target: division of an INI write request into its fields.
// Input: the request text, up to the first NUL.

#include "tests/fuzz/fuzz_check.h"
#include "settings/request_fields.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr size_t kGuard = 16;

VL_FUZZ_REQUIRE_IN("request fields")

struct Run {
    size_t from, len;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const void* nul = std::memchr(data, 0, size);
    size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;

    // The request, its terminator, then guard bytes.
    const size_t total = n + 1 + kGuard;
    std::unique_ptr<char[]> copy(new char[total]);
    std::memcpy(copy.get(), data, n);
    copy[n] = 0;
    std::memset(copy.get() + n + 1, kMarker, kGuard);
    const std::vector<char> before(copy.get(), copy.get() + total);

    // The fields that must come out: the first four maximal runs without a comma.
    std::vector<Run> runs;
    for (size_t i = 0; i < n && runs.size() < 4;) {
        if (before[i] == ',') {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && before[j] != ',')
            ++j;
        runs.push_back({i, j - i});
        i = j;
    }

    char dummy = 0;
    char* fields[4] = {&dummy, &dummy, &dummy, &dummy};
    int count = split_request(copy.get(), fields);

    require(count >= 0 && count <= 4, "count out of range");
    require(static_cast<size_t>(count) == runs.size(), "wrong number of fields");
    for (int i = 0; i < 4; ++i) {
        if (i >= count) {
            require(fields[i] == nullptr, "absent field not null");
            continue;
        }
        require(fields[i] == copy.get() + runs[i].from, "field does not start where it stands in the request");
        size_t len = std::strlen(fields[i]);
        require(len == runs[i].len, "field of the wrong length");
        require(len > 0 && std::memchr(fields[i], ',', len) == nullptr, "field empty or with a comma");
    }
    for (size_t i = 0; i < total; ++i)
        require(copy[i] == before[i] || (before[i] == ',' && copy[i] == 0),
                "a byte other than a comma was overwritten");
    return 0;
}
