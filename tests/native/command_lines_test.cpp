#include "companions/command_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr size_t kWork = 1024;
constexpr char kMarker = static_cast<char>(0xA5);
const std::string kWizardTail = "vlwizpro.exe \"99\"";

struct Buffer {
    char bytes[kWork + 16];
    Buffer() { std::memset(bytes, kMarker, sizeof bytes); }
    // Nothing written at or beyond `cap`.
    bool untouched_from(size_t cap) const
    {
        for (size_t i = cap; i < sizeof bytes; ++i)
            if (bytes[i] != kMarker)
                return false;
        return true;
    }
};

struct TwoInputCase {
    const char* first;
    const char* second;  // unused by the one-input builders
    const char* expected;
};

}  // namespace

TEST(WizardCommand, ExactOutputs)
{
    const TwoInputCase rows[] = {
        {"C:\\VL\\", nullptr, "C:\\VL\\vlwizpro.exe \"99\""},
        {"", nullptr, "vlwizpro.exe \"99\""},
        {"C:\\Program Files\\VL", nullptr, "C:\\Program Files\\VLvlwizpro.exe \"99\""},
    };
    for (const auto& r : rows) {
        Buffer out;
        EXPECT_TRUE(build_wizard_command(out.bytes, kWork, r.first));
        EXPECT_STREQ(out.bytes, r.expected);
        EXPECT_TRUE(out.untouched_from(std::strlen(r.expected) + 1));
    }
}

TEST(WizardCommand, AppendsInPlace)
{
    Buffer out;
    std::strcpy(out.bytes, "D:\\wiz dir\\");
    EXPECT_TRUE(build_wizard_command(out.bytes, kWork, out.bytes));
    EXPECT_STREQ(out.bytes, "D:\\wiz dir\\vlwizpro.exe \"99\"");
}

TEST(WizardCommand, ExactFitAndOneTooLong)
{
    // A 1,024-byte work buffer holds a data path of up to 1,006 characters.
    for (bool in_place : {false, true}) {
        for (size_t len : {size_t(1006), size_t(1007)}) {
            std::string path(len, 'p');
            Buffer out;
            if (in_place)
                std::strcpy(out.bytes, path.c_str());
            bool fits = build_wizard_command(out.bytes, kWork, in_place ? out.bytes : path.c_str());
            EXPECT_EQ(fits, len == 1006) << len;
            EXPECT_EQ(std::string(out.bytes), fits ? path + kWizardTail : "") << len;
            EXPECT_TRUE(out.untouched_from(kWork)) << len;
        }
    }
}

TEST(WizardCommand, NoRoomAtAll)
{
    Buffer out;
    EXPECT_FALSE(build_wizard_command(out.bytes, 0, "x"));
    EXPECT_TRUE(out.untouched_from(0));
    EXPECT_FALSE(build_wizard_command(out.bytes, 17, ""));
    EXPECT_EQ(out.bytes[0], '\0');
    EXPECT_TRUE(build_wizard_command(out.bytes, 18, ""));
    EXPECT_STREQ(out.bytes, "vlwizpro.exe \"99\"");
}

TEST(SelectorCommand, ExactOutputs)
{
    const TwoInputCase rows[] = {
        {"vlrexe.exe", "C:\\rep\\base", "vlrexe.exe \"C:\\rep\\base \""},
        {"vlrexe.exe", "", "vlrexe.exe \" \""},
        {"C:\\Program Files\\VL\\vlrexe.exe", "my base", "C:\\Program Files\\VL\\vlrexe.exe \"my base \""},
        {"", "b", " \"b \""},
    };
    for (const auto& r : rows) {
        Buffer out;
        EXPECT_TRUE(build_selector_command(out.bytes, kWork, r.first, r.second));
        EXPECT_STREQ(out.bytes, r.expected);
        EXPECT_TRUE(out.untouched_from(std::strlen(r.expected) + 1));
    }
}

TEST(SelectorCommand, AppendsInPlace)
{
    Buffer out;
    std::strcpy(out.bytes, "vlrexe.exe");
    EXPECT_TRUE(build_selector_command(out.bytes, kWork, out.bytes, "report"));
    EXPECT_STREQ(out.bytes, "vlrexe.exe \"report \"");
}

TEST(SelectorCommand, ExactFitAndOneTooLong)
{
    // Location and base together may have 1,019 characters in 1,024 bytes.
    for (bool in_place : {false, true}) {
        for (size_t total : {size_t(1019), size_t(1020)}) {
            std::string location(600, 'L');
            std::string base(total - 600, 'B');
            Buffer out;
            if (in_place)
                std::strcpy(out.bytes, location.c_str());
            bool fits = build_selector_command(out.bytes, kWork,
                                               in_place ? out.bytes : location.c_str(), base.c_str());
            EXPECT_EQ(fits, total == 1019) << total;
            EXPECT_EQ(std::string(out.bytes), fits ? location + " \"" + base + " \"" : "") << total;
            EXPECT_TRUE(out.untouched_from(kWork)) << total;
        }
    }
}

TEST(SelectorCommand, CutNowhere)
{
    // Each place where the text could end short of the whole is refused.
    for (size_t cap = 0; cap < 8; ++cap) {
        Buffer out;
        EXPECT_FALSE(build_selector_command(out.bytes, cap, "ab", "c")) << cap;
        if (cap > 0) {
            EXPECT_EQ(out.bytes[0], '\0') << cap;
        }
        EXPECT_TRUE(out.untouched_from(cap)) << cap;
    }
    Buffer out;
    EXPECT_TRUE(build_selector_command(out.bytes, 8, "ab", "c"));
    EXPECT_STREQ(out.bytes, "ab \"c \"");
}

TEST(AnswerFileName, ExactOutputs)
{
    const TwoInputCase rows[] = {
        {"report", nullptr, "report.txa"},
        {"", nullptr, ".txa"},
        {"C:\\dir\\a.txt", nullptr, "C:\\dir\\a.txt.txa"},
    };
    for (const auto& r : rows) {
        Buffer out;
        EXPECT_TRUE(build_answer_file_name(out.bytes, kWork, r.first));
        EXPECT_STREQ(out.bytes, r.expected);
        EXPECT_TRUE(out.untouched_from(std::strlen(r.expected) + 1));
    }
}

TEST(AnswerFileName, AppendsInPlace)
{
    Buffer out;
    std::strcpy(out.bytes, "base");
    EXPECT_TRUE(build_answer_file_name(out.bytes, kWork, out.bytes));
    EXPECT_STREQ(out.bytes, "base.txa");
}

TEST(AnswerFileName, ExactFitAndOneTooLong)
{
    // A base of up to 1,019 characters fits in 1,024 bytes.
    for (size_t len : {size_t(1019), size_t(1020)}) {
        std::string base(len, 'b');
        Buffer out;
        bool fits = build_answer_file_name(out.bytes, kWork, base.c_str());
        EXPECT_EQ(fits, len == 1019) << len;
        EXPECT_EQ(std::string(out.bytes), fits ? base + ".txa" : "") << len;
        EXPECT_TRUE(out.untouched_from(kWork)) << len;
    }
}

TEST(Builders, InPlaceTextWithoutTerminatorIsRefused)
{
    Buffer out;  // all marker bytes: no terminator within the capacity
    EXPECT_FALSE(build_wizard_command(out.bytes, 32, out.bytes));
    EXPECT_EQ(out.bytes[0], '\0');
    EXPECT_TRUE(out.untouched_from(1));
}
