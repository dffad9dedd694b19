#pragma once
// Expected results of quote stripping, shared by the native tests and the
// tests of the built library. Plain data only: no test framework.

struct UnquoteCase {
    const char* before;
    const char* after;
};

constexpr UnquoteCase kUnquoteCases[] = {
    {"", ""},
    {"'", ""},
    {"''", ""},
    {"'abc'", "abc"},
    {"'abc", "abc"},
    {"abc'", "abc"},
    {"abc", "abc"},
    {"a", "a"},
    {"''abc''", "'abc'"},
    {"a'b", "a'b"},
    {"\"abc\"", "\"abc\""},
    // Further edges.
    {"'''", "'"},
    {"'a'", "a"},
    {"' '", " "},
    {"'a'b'", "a'b"},
    {"\"'abc'\"", "\"'abc'\""},
    {"`abc`", "`abc`"},
};
