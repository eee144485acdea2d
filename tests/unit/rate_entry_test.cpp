// The rate rule, checked on every text of up to five characters over an alphabet that
// exercises each of its branches: the plus sign (first or not), digits that make values on
// both sides of the limit, and characters that are not ASCII digits (a minus sign, a letter,
// a space, a full-width digit).
#include "engine/rate_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/framework/cwinapp.h"
#include "res/resources.h"
#include "tests/sim/sim_platform.h"
#include "tests/unit/expected_texts.h"

namespace {

constexpr std::u16string_view kAlphabet = u"+-019x \uFF11";

// An independent reading of the rule: empty, or an optional leading plus sign and ASCII
// digits whose value is at most 1000. Returns the value of an accepted text, nullopt for a
// rejected one.
std::optional<long long> Expected(const std::u16string& text) {
    const std::size_t start = !text.empty() && text[0] == u'+' ? 1 : 0;
    long long value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        value = value * 10 + (text[i] - u'0');
    }
    if (value > 1000) return std::nullopt;
    return value;
}

// The digits a rejected text had before its first bad character (after a leading plus).
long long DigitsBeforeFault(const std::u16string& text) {
    long long value = 0;
    for (std::size_t i = !text.empty() && text[0] == u'+' ? 1 : 0; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') break;
        value = value * 10 + (text[i] - u'0');
    }
    return value;
}

void Check(const std::u16string& text, const std::u16string& badRateText) {
    kestrin::sim::SimPlatform sim;
    CPlatformScope scope(sim, kestrin::res::ProgramResources());
    CString field(text);
    int value = 0;
    const bool accepted = ParseRate(field, value);
    const auto expected = Expected(text);
    const std::string shown(text.begin(), text.end());  // enough to tell the case apart
    ASSERT_EQ(accepted, expected.has_value()) << "text: " << shown;
    if (accepted) {
        EXPECT_EQ(value, *expected) << shown;
        EXPECT_EQ(field.str(), text) << shown;
        EXPECT_TRUE(sim.MessageBoxes().empty()) << shown;
        return;
    }
    EXPECT_TRUE(field.IsEmpty()) << shown;
    ASSERT_EQ(sim.MessageBoxes().size(), 1u) << shown;
    EXPECT_EQ(sim.MessageBoxes()[0].text, badRateText);
    EXPECT_EQ(sim.MessageBoxes()[0].caption, u"kestrin");
    EXPECT_EQ(sim.MessageBoxes()[0].type, 0u);
    // The value keeps what was read: the digits before a bad character, or a number above
    // the limit (never an overflowed one).
    const long long before = DigitsBeforeFault(text);
    if (before > 1000) {
        EXPECT_GT(value, 1000) << shown;
    } else {
        EXPECT_EQ(value, before) << shown;
    }
}

TEST(RateEntry, EveryShortTextFollowsTheRule) {
    const std::u16string badRateText = ExpectedText("bad_rate");
    std::u16string text;
    // Every text of length 0 to 5, in order of length.
    const auto visit = [&](auto&& self, std::size_t length) -> void {
        Check(text, badRateText);
        if (length == 5 || ::testing::Test::HasFatalFailure()) return;
        for (const char16_t c : kAlphabet) {
            text.push_back(c);
            self(self, length + 1);
            text.pop_back();
        }
    };
    visit(visit, 0);
}

TEST(RateEntry, LongNumbersAreRejectedWithoutOverflow) {
    kestrin::sim::SimPlatform sim;
    CPlatformScope scope(sim, kestrin::res::ProgramResources());
    CString field(std::u16string(100000, u'9'));
    int value = 0;
    EXPECT_FALSE(ParseRate(field, value));
    EXPECT_GT(value, 1000);
}

}  // namespace
