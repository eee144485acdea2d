// The auto-click cycle as the user drives it: F3, ticks, F4, the count and its label, live
// changes, rejected rates while clicking.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "tests/unit/kestrin_sim.h"

namespace {

class ClickCycle : public ::testing::Test {
  protected:
    // Each tick sends one burst, an empty one when no mode is selected.
    std::size_t Ticks() const { return sim.records.bursts.size(); }
    std::u16string Label() const { return sim.Control(IDC_COUNT).text; }

    SimPlatform sim;
};

TEST_F(ClickCycle, F3StartsTicksAtThePeriodAndF4StopsThemKeepingTheLabel) {
    sim.PressHotKey(VK_F3);  // rate 10, clicks per second, left double click by default
    sim.Advance(99);
    sim.Then([&] { EXPECT_EQ(Ticks(), 0u) << "no tick before the first period"; });
    sim.Advance(901);  // ten ticks in all
    sim.PressHotKey(VK_F4);
    sim.Advance(1000);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(10)) << "F4 leaves the last count showing"; });
    sim.PressHotKey(VK_F4);  // stopping an idle clicker changes nothing
    sim.PressHotKey(VK_F3);  // after F4 the count starts again from 1
    sim.Advance(100);
    RunKestrin(sim);

    EXPECT_EQ(Label(), CountLabel(1));
    EXPECT_EQ(Ticks(), 11u);
    for (const auto& burst : sim.records.bursts) EXPECT_EQ(burst.flags, kLeftDouble);
    // Every message re-validates the field; rewriting an unchanged one would move the caret.
    EXPECT_EQ(sim.Control(IDC_RATE).textHistory, Texts{u"10"});
}

TEST_F(ClickCycle, PeriodFollowsRateAndUnit) {
    const struct {
        std::u16string rate;
        int unit;
        unsigned period;
    } cases[] = {
        {u"1", PerSecond, 1000},
        {u"3", PerSecond, 333},
        {u"31", PerSecond, 32},
        {u"1000", PerSecond, 1},
        {u"1", SecondsPerClick, 1000},
        {u"1000", SecondsPerClick, 1000000},
        {u"+0010", PerSecond, 100},  // leading plus and zeros
        {u"7", -1, 7000},            // no unit selected: seconds per click
    };
    for (const auto& c : cases) {
        sim.SetText(IDC_RATE, c.rate);
        sim.Select(IDC_UNIT, c.unit);
        sim.PressHotKey(VK_F3);  // replaces the running timer each time
        sim.Then([&] { EXPECT_EQ(sim.TimerPeriod(), c.period) << "expected " << c.period; });
    }
    RunKestrin(sim);
}

TEST_F(ClickCycle, LabelShowsEachCountUpTo30PerSecondAndTheTooFastTextOnceAbove) {
    sim.SetText(IDC_RATE, u"30");
    sim.PressHotKey(VK_F3);
    sim.Advance(33 * 3);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(3)); });
    sim.PressHotKey(VK_F4);
    sim.SetText(IDC_RATE, u"31");
    sim.PressHotKey(VK_F3);
    sim.Advance(32 * 5);
    sim.Then([&] { EXPECT_EQ(Label(), kTooFastText); });
    // The rule reads the rate live: back at 30 the next tick shows the hidden count.
    sim.SetText(IDC_RATE, u"30");
    sim.Advance(32);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(6)); });
    // So does the unit: at seconds per click any rate shows the count.
    sim.SetText(IDC_RATE, u"500");
    sim.Select(IDC_UNIT, SecondsPerClick);
    sim.Advance(32);
    RunKestrin(sim);

    EXPECT_EQ(Label(), CountLabel(7));
    EXPECT_EQ(Ticks(), 3u + 5u + 2u) << "every tick clicks";
    const auto& labels = sim.Control(IDC_COUNT).textHistory;
    EXPECT_EQ(std::count(labels.begin(), labels.end(), kTooFastText), 1)
        << "only the first tick after a stop writes the label";
}

TEST_F(ClickCycle, F3WhileRunningRestartsTheLabelAndPeriodButKeepsTheCount) {
    sim.PressHotKey(VK_F3);
    sim.Advance(550);
    sim.PressHotKey(VK_F3);  // the period now counts from here: next tick 100 ms later
    sim.Advance(99);
    sim.Then([&] { EXPECT_EQ(Ticks(), 5u); });
    sim.Advance(1);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(6)); });
    sim.PressHotKey(VK_F4);
    // Above 30 per second the restarted label stays, because the count is not 0.
    sim.SetText(IDC_RATE, u"31");
    sim.PressHotKey(VK_F3);
    sim.Advance(32 * 4);
    sim.PressHotKey(VK_F3);
    sim.Advance(32 * 4);
    RunKestrin(sim);

    EXPECT_EQ(Label(), CountLabel(0));
    EXPECT_EQ(Ticks(), 6u + 8u);
}

TEST_F(ClickCycle, ModeIsReadAtEveryTickAndNoSelectionSendsNothingButCounts) {
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    for (const int mode : {int{RightSingle}, int{LeftSingle}, int{RightDouble}, -1}) {
        sim.Select(IDC_CLICK_MODE, mode);
        sim.Advance(100);
    }
    sim.Advance(100);
    RunKestrin(sim);

    const std::vector<std::vector<std::uint32_t>> expected = {
        kLeftDouble, kRightSingle, kLeftSingle, kRightDouble, {}, {}};
    std::vector<std::vector<std::uint32_t>> sent;
    for (const auto& burst : sim.records.bursts) sent.push_back(burst.flags);
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(Label(), CountLabel(6));
}

// The most ticks sent in any `ms` of virtual time.
std::size_t MostTicksWithin(const std::vector<kestrin::sim::MouseBurst>& bursts, std::int64_t ms) {
    std::size_t most = 0;
    for (std::size_t first = 0, last = 0; last < bursts.size(); ++last) {
        while (bursts[first].ms <= bursts[last].ms - ms) ++first;
        most = std::max(most, last - first + 1);
    }
    return most;
}

TEST_F(ClickCycle, ALateTickMakesUpAFewMillisecondsOfPeriodsSpreadOutNeverAFlood) {
    // 1000 per second, left double: stopped for 3 ms, every period is made up; for a second,
    // only the bound's worth. Then 30 typed: the next tick shows the count, made-up ticks
    // included.
    sim.SetText(IDC_RATE, u"1000");
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.Stall(3);
    sim.Advance(97);
    sim.Then([&] { EXPECT_EQ(Ticks(), 200u) << "a short stall costs no tick"; });
    sim.Stall(1000);
    sim.Advance(100);
    sim.Then([&] {
        EXPECT_EQ(Ticks(), 200u + 101u + kestrin::platform::kMakeUpBoundMs);
        EXPECT_LE(MostTicksWithin(sim.records.bursts, 10), 20u) << "twice the rate at most";
        EXPECT_LE(MostTicksWithin(sim.records.bursts, 1), 2u) << "two ticks a period at most";
    });
    sim.SetText(IDC_RATE, u"30");
    sim.Advance(1);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(static_cast<long long>(Ticks()))); });
    // F3 again, and F4 then F3, start afresh with nothing owed: one tick a period.
    sim.SetText(IDC_RATE, u"1000");
    for (const unsigned restart : {VK_F3, VK_F4}) {
        sim.Stall(100);
        sim.Advance(0);  // the late wake's first ticks; more are owed
        sim.PressHotKey(restart);
        sim.PressHotKey(VK_F3);
        sim.Then([&] { sim.records.bursts.clear(); });
        sim.Advance(10);
        sim.Then([&] { EXPECT_EQ(Ticks(), 10u) << "owed ticks came after a restart"; });
    }
    sim.PressHotKey(VK_F4);
    // 100 per second: a period is longer than the bound, nothing is made up, and a late tick
    // right before the next period's makes two ticks, four presses, in 10 ms at most.
    sim.SetText(IDC_RATE, u"100");
    sim.PressHotKey(VK_F3);
    sim.Then([&] { sim.records.bursts.clear(); });
    sim.Advance(100);
    sim.Stall(995);
    sim.Advance(105);
    RunKestrin(sim);

    EXPECT_EQ(Ticks(), 10u + 12u);
    EXPECT_EQ(MostTicksWithin(sim.records.bursts, 10), 2u) << "four presses";
}

TEST(ClickCyclePointer, EachTickClicksWhereThePointerIsAndLeavesAnUnreadableOneAlone) {
    for (const bool readable : {true, false}) {
        SimPlatform sim;
        if (!readable) sim.FailPointerReads();
        sim.MovePointer({120, 45});
        sim.PressHotKey(VK_F3);
        sim.Advance(100);
        sim.MovePointer({700, 500});
        sim.Advance(100);
        RunKestrin(sim);

        ASSERT_EQ(sim.records.bursts.size(), 2u);
        EXPECT_EQ(sim.records.bursts[0].at, (Point{120, 45})) << "readable " << readable;
        EXPECT_EQ(sim.records.bursts[1].at, (Point{700, 500})) << "readable " << readable;
    }
}

TEST_F(ClickCycle, WithoutARateBothKeysAreIgnored) {
    for (const char16_t* noRate : {u"", u"0", u"+", u"+000"}) {
        sim.SetText(IDC_RATE, noRate);
        sim.PressHotKey(VK_F3);
        sim.Advance(1000);
    }
    sim.Then([&] { EXPECT_EQ(Label(), kCountLabel) << "F3 without a rate changes nothing"; });
    // Running, then the field emptied: F4 is ignored too, the clicker keeps going until a
    // rate is typed again and F4 pressed.
    sim.SetText(IDC_RATE, u"10");
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.SetText(IDC_RATE, u"");
    sim.PressHotKey(VK_F4);
    sim.Advance(200);
    sim.SetText(IDC_RATE, u"5");
    sim.PressHotKey(VK_F4);
    sim.Advance(1000);
    RunKestrin(sim);

    EXPECT_EQ(Ticks(), 3u);
    EXPECT_TRUE(sim.records.boxTexts.empty());
}

TEST_F(ClickCycle, ABadRateWhileRunningShowsTwoBoxesWhileTicksGoOnUnvalidated) {
    sim.PressHotKey(VK_F3);
    sim.Advance(200);  // two ticks
    // "50x" leaves 50 read: inside the boxes the label rule sees more than 30 per second.
    sim.SetText(IDC_RATE, u"50x");
    sim.Advance(100);  // this tick's validation rejects the text: the first box is up
    sim.Then([&] {
        EXPECT_EQ(sim.records.boxTexts, Texts{kBadRateText});
        EXPECT_EQ(sim.Control(IDC_RATE).text, u"50x") << "the field is emptied after the box";
    });
    sim.Advance(300);        // three ticks inside the first box: they click and count
    sim.PressHotKey(VK_F4);  // a hot key while a box is up reaches no handler
    sim.Then([&] {
        EXPECT_EQ(Ticks(), 5u);
        EXPECT_EQ(Label(), CountLabel(2)) << "the count is not 0: the too-fast rule writes nothing";
        EXPECT_EQ(sim.records.boxTexts.size(), 1u) << "ticks inside the box are not validated";
    });
    sim.AnswerMessageBox();
    sim.Then([&] { EXPECT_EQ(sim.records.boxTexts, (Texts{kBadRateText, kReenterText})); });
    sim.Advance(100);  // one more inside the second box
    sim.AnswerMessageBox();
    sim.Advance(100);  // the empty field is a valid (no) rate: the label shows the count again
    RunKestrin(sim);

    EXPECT_EQ(sim.Control(IDC_RATE).text, u"");
    EXPECT_EQ(Ticks(), 8u) << "the rejected tick clicks after the boxes; the clicker goes on";
    EXPECT_EQ(Label(), CountLabel(8));
}

TEST(Count, StopsAtTheLargestValueAndTheLabelShowsEveryValue) {
    constexpr int kMax = std::numeric_limits<int>::max();
    EXPECT_EQ(NextCount(0), 1);
    EXPECT_EQ(NextCount(kMax - 1), kMax);
    EXPECT_EQ(NextCount(kMax), kMax);
    for (const int n : {0, 7, 1234567, kMax, -12, std::numeric_limits<int>::min()})
        EXPECT_EQ(CountText(n).str(), CountLabel(n));
}

}  // namespace
