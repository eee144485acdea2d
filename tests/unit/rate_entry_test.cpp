// Which rate texts are accepted, with which value, and what a rejection does.
#include "engine/rate_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/framework/cwinapp.h"
#include "platform/sim/sim_platform.h"

namespace {

constexpr char16_t kRejectText[] = u"请输入不超过1000的正整数，\n注意不要输入空格、小数点";

struct Parsed {
    bool accepted;
    int value;
    std::u16string textAfter;
    std::vector<std::u16string> boxes;
};

Parsed Parse(std::u16string text) {
    kestrin::sim::SimPlatform sim;
    CPlatformScope scope(sim);
    CString s(text);
    int value = 0;
    const bool accepted = ParseRate(s, value);
    return {accepted, value, s.str(), sim.MessageBoxTexts()};
}

TEST(RateEntry, AcceptsOptionalPlusAndAsciiDigitsUpToTheLimit) {
    const std::pair<std::u16string, int> cases[] = {
        {u"", 0},
        {u"+", 0},
        {u"0", 0},
        {u"+0", 0},
        {u"10", 10},
        {u"+10", 10},
        {u"0010", 10},
        {u"1000", 1000},
        {u"1", 1},
        {u"999", 999},
        {u"000000000000000001000", 1000},
    };
    for (const auto& [text, value] : cases) {
        const Parsed p = Parse(text);
        EXPECT_TRUE(p.accepted) << "text size " << text.size();
        EXPECT_EQ(p.value, value);
        EXPECT_EQ(p.textAfter, text) << "an accepted text stays as typed";
        EXPECT_TRUE(p.boxes.empty());
    }
}

TEST(RateEntry, RejectsEverythingElseWithOneBoxAndAnEmptyText) {
    const std::u16string cases[] = {
        u"1001",
        u"999999999999",
        u" 10",
        u"10 ",
        u"1.5",
        u"-3",
        u"++1",
        u"1+",
        u"\uFF11\uFF10",
        u"a",
        u"10a",
        u"\t5",
        u"1,0",
        u"+-",
        std::u16string(1, char16_t(0xD800)),  // a lone surrogate
        std::u16string(1, char16_t(0xFFFF)),  // the largest code unit, compared unsigned
        std::u16string(u"1\0"
                       u"2",
                       3),  // an embedded NUL
    };
    for (const auto& text : cases) {
        const Parsed p = Parse(text);
        EXPECT_FALSE(p.accepted) << "text size " << text.size();
        EXPECT_TRUE(p.textAfter.empty());
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0], kRejectText);
    }
}

TEST(RateEntry, RejectedValueKeepsTheDigitsReadBeforeTheFault) {
    EXPECT_EQ(Parse(u"12x").value, 12);
    EXPECT_EQ(Parse(u"+7.5").value, 7);
    EXPECT_EQ(Parse(u"x12").value, 0);
    // An over-long number is above the limit, whatever its length, and never overflows.
    EXPECT_GT(Parse(u"1001").value, RATE_MAX);
    EXPECT_GT(Parse(u"999999999999").value, RATE_MAX);
    EXPECT_GT(Parse(std::u16string(100000, u'9')).value, RATE_MAX);
    EXPECT_LE(Parse(std::u16string(100000, u'9')).value, 10 * RATE_MAX + 9);
}

TEST(RateEntry, MessageBoxIsCaptionedWithTheProgramName) {
    kestrin::sim::SimPlatform sim;
    CPlatformScope scope(sim);
    CString s(u"abc");
    int value = 0;
    ParseRate(s, value);
    ASSERT_EQ(sim.MessageBoxes().size(), 1u);
    EXPECT_EQ(sim.MessageBoxes()[0].caption, u"kestrin");
    EXPECT_EQ(sim.MessageBoxes()[0].type, 0u);
}

}  // namespace
