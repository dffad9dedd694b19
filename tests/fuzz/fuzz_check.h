// What every fuzz target shares: a property check that stops the run with a
// message (libFuzzer keeps the input), and the marker byte that fills memory
// the code under test must not write.
#pragma once

#include <cstdio>
#include <cstdlib>

constexpr char kMarker = static_cast<char>(0xA5);

#define VL_FUZZ_REQUIRE_IN(target)                               \
    void require(bool ok, const char* what)                      \
    {                                                            \
        if (!ok) {                                               \
            std::fprintf(stderr, target ": %s\n", what);         \
            std::abort();                                        \
        }                                                        \
    }
