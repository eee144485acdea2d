// The count never overflows, and the label shows every value it can reach.
#include <gtest/gtest.h>

#include <limits>

#include "tests/unit/kestrin_sim.h"

namespace {

constexpr int kMax = std::numeric_limits<int>::max();

TEST(Count, StopsAtTheLargestValueInsteadOfOverflowing) {
    EXPECT_EQ(NextCount(0), 1);
    EXPECT_EQ(NextCount(kMax - 1), kMax);
    EXPECT_EQ(NextCount(kMax), kMax);
}

TEST(Count, LabelFormatsTheWholeRangeOfTheCount) {
    EXPECT_EQ(CountText(0).str(), CountLabel(0));
    EXPECT_EQ(CountText(7).str(), CountLabel(7));
    EXPECT_EQ(CountText(1234567).str(), CountLabel(1234567));
    EXPECT_EQ(CountText(kMax).str(), CountLabel(kMax));
    EXPECT_EQ(CountText(-12).str(), CountLabel(-12));
    EXPECT_EQ(CountText(std::numeric_limits<int>::min()).str(),
              CountLabel(std::numeric_limits<int>::min()));
}

}  // namespace
