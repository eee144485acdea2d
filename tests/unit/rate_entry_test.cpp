// The rate rule, checked on every text of up to five characters over an alphabet that
// exercises each of its branches: the plus sign (first or not), digits that make values on
// both sides of the limit, and characters that are not ASCII digits (a minus sign, the two
// characters either side of the digits, a space, a full-width digit).
#include "engine/rate_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/unit/kestrin_sim.h"

namespace {

// An independent reading of the rule: empty, or an optional leading plus sign and ASCII
// digits worth at most 1000. Returns whether the text is accepted, and the value of the
// digits before the first other character (1001 for any value above the limit).
std::pair<bool, int> Expected(std::u16string_view text) {
    if (!text.empty() && text[0] == u'+') text.remove_prefix(1);
    int value = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i] - u'0'), 1001);
    return {i == text.size() && value <= 1000, value};
}

void Check(const std::u16string& text) {
    SimPlatform sim;
    CPlatformScope scope(sim, kestrin::res::ProgramResources());
    CString field(text);
    int value = 0;
    const bool accepted = ParseRate(field, value);
    const auto [expected, expectedValue] = Expected(text);
    SCOPED_TRACE(std::string(text.begin(), text.end()).substr(0, 10));  // tells the cases apart
    ASSERT_EQ(accepted, expected);
    // The value keeps what was read, and does not overflow however long the number.
    EXPECT_EQ(std::min(value, 1001), expectedValue);
    EXPECT_EQ(field.str(), accepted ? text : u"");
    EXPECT_EQ(sim.records.boxTexts, accepted ? Texts{} : Texts{kBadRateText});
}

TEST(RateEntry, EveryShortTextAndAVeryLongNumberFollowTheRule) {
    std::u16string text;
    // Every text of length 0 to 5, in order of length.
    const auto visit = [&](auto&& self, std::size_t length) -> void {
        Check(text);
        if (length == 5 || ::testing::Test::HasFatalFailure()) return;
        for (const char16_t c : std::u16string_view(u"+-/019: \uFF11")) {
            text.push_back(c);
            self(self, length + 1);
            text.pop_back();
        }
    };
    visit(visit, 0);
    Check(std::u16string(100000, u'9'));
}

}  // namespace
