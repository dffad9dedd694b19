#include "settings/request_fields.h"
#include "tests/cases/request_field_cases.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>

void PrintTo(const RequestFieldCase& c, std::ostream* os)
{
    *os << '[' << c.request << ']';
}

namespace {

std::unique_ptr<char[]> exact_copy(const std::string& s)
{
    std::unique_ptr<char[]> copy(new char[s.size() + 1]);
    std::memcpy(copy.get(), s.c_str(), s.size() + 1);
    return copy;
}

}  // namespace

class RequestFieldTable : public ::testing::TestWithParam<RequestFieldCase> {};

TEST_P(RequestFieldTable, DividesIntoFields)
{
    const RequestFieldCase& c = GetParam();
    std::string request = c.request;
    auto copy = exact_copy(request);
    char* fields[4] = {copy.get(), copy.get(), copy.get(), copy.get()};
    EXPECT_EQ(split_request(copy.get(), fields), c.count);
    for (int i = 0; i < 4; ++i) {
        if (c.fields[i] == nullptr) {
            EXPECT_EQ(fields[i], nullptr) << "field " << i;
            continue;
        }
        ASSERT_NE(fields[i], nullptr) << "field " << i;
        EXPECT_GE(fields[i], copy.get());
        EXPECT_LT(fields[i], copy.get() + request.size());
        EXPECT_STREQ(fields[i], c.fields[i]) << "field " << i;
    }
    // Only the commas that end a field taken are overwritten.
    for (size_t i = 0; i < request.size(); ++i) {
        if (copy[i] != request[i]) {
            EXPECT_EQ(request[i], ',') << "byte " << i;
            EXPECT_EQ(copy[i], '\0') << "byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RequestFieldTable, ::testing::ValuesIn(kRequestFieldCases));

TEST(RequestFields, RestAfterTheFourthFieldIsLeftAlone)
{
    std::string request = "S,K,V,F,rest,more";
    auto copy = exact_copy(request);
    char* fields[4];
    ASSERT_EQ(split_request(copy.get(), fields), 4);
    EXPECT_STREQ(fields[3], "F");
    EXPECT_STREQ(copy.get() + 8, "rest,more");
}

TEST(RequestFields, RequestFarLongerThanAWorkBuffer)
{
    const std::string section(1500, 'S'), key(700, 'K'), value(2000, 'V'), file(900, 'F');
    std::string request = ",," + section + "," + key + ",,," + value + "," + file + ",tail,x";
    auto copy = exact_copy(request);
    char* fields[4];
    ASSERT_EQ(split_request(copy.get(), fields), 4);
    EXPECT_EQ(std::string(fields[0]), section);
    EXPECT_EQ(std::string(fields[1]), key);
    EXPECT_EQ(std::string(fields[2]), value);
    EXPECT_EQ(std::string(fields[3]), file);
}
