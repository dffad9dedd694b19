#include "paths/unquote_text.h"
#include "tests/cases/unquote_cases.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>

void PrintTo(const UnquoteCase& c, std::ostream* os)
{
    *os << '[' << c.before << ']';
}

namespace {

std::unique_ptr<char[]> exact_copy(const std::string& s)
{
    std::unique_ptr<char[]> copy(new char[s.size() + 1]);
    std::memcpy(copy.get(), s.c_str(), s.size() + 1);
    return copy;
}

}  // namespace

class UnquoteTable : public ::testing::TestWithParam<UnquoteCase> {};

TEST_P(UnquoteTable, StripsOneQuoteAtEachEnd)
{
    const UnquoteCase& c = GetParam();
    std::string before = c.before;
    auto text = exact_copy(before);
    char* result = unquote_text(text.get());
    EXPECT_EQ(result, text.get());
    EXPECT_STREQ(text.get(), c.after);
    // Bytes behind the new terminator keep their old values.
    size_t len = std::strlen(c.after);
    for (size_t i = len + 1; i <= before.size(); ++i)
        EXPECT_EQ(text[i], before[i]) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Rows, UnquoteTable, ::testing::ValuesIn(kUnquoteCases));

TEST(Unquote, LongTextsHaveNoLimit)
{
    const std::string body(3998, 'x');
    struct {
        std::string before, after;
    } rows[] = {
        {"'" + body + "'", body},
        {"'" + body + "x", body + "x"},
        {"x" + body + "'", "x" + body},
        {"x" + body + "x", "x" + body + "x"},
        {"''" + body.substr(2) + "''", "'" + body.substr(2) + "'"},
    };
    for (const auto& r : rows) {
        ASSERT_EQ(r.before.size(), 4000u);
        auto text = exact_copy(r.before);
        EXPECT_EQ(unquote_text(text.get()), text.get());
        EXPECT_EQ(std::string(text.get()), r.after);
    }
}
