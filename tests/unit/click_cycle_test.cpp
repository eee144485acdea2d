// The auto-click cycle as the user drives it: F3, ticks, F4, the count label, live changes.
#include <gtest/gtest.h>

#include "tests/unit/kestrin_sim.h"

namespace {

class ClickCycle : public ::testing::Test {
  protected:
    // Bursts sent so far, as lists of button events.
    std::vector<std::vector<std::uint32_t>> Bursts() const {
        std::vector<std::vector<std::uint32_t>> out;
        for (const auto& b : sim.Bursts()) out.push_back(b.flags);
        return out;
    }
    std::size_t BurstCount() const { return sim.Bursts().size(); }
    std::u16string Label() const { return sim.Text(IDC_COUNT); }

    SimPlatform sim;
};

TEST_F(ClickCycle, F3StartsTicksAtThePeriodAndF4StopsThemKeepingTheLabel) {
    sim.PressHotKey(VK_F3);  // rate 10, clicks per second, left double click by default
    sim.Then([&] {
        EXPECT_EQ(sim.TimerPeriod(), 100u);
        EXPECT_EQ(Label(), CountLabel(0));
    });
    sim.Advance(99);
    sim.Then([&] { EXPECT_EQ(BurstCount(), 0u) << "no tick before the first period"; });
    sim.Advance(1);
    sim.Then([&] {
        ASSERT_EQ(BurstCount(), 1u);
        EXPECT_EQ(sim.Bursts()[0].timeMs, 100);
        EXPECT_EQ(Label(), CountLabel(1));
    });
    sim.Advance(900);
    sim.PressHotKey(VK_F4);
    sim.Then([&] {
        EXPECT_EQ(BurstCount(), 10u);
        EXPECT_FALSE(sim.TimerPeriod().has_value());
        EXPECT_EQ(Label(), CountLabel(10)) << "F4 leaves the last count showing";
    });
    sim.Advance(1000);
    sim.PressHotKey(VK_F4);  // stopping an idle clicker changes nothing
    sim.Then([&] { EXPECT_EQ(BurstCount(), 10u); });
    // F4 then F3: counting starts again from 1.
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(1)); });
    RunKestrin(sim);

    for (const auto& burst : Bursts()) EXPECT_EQ(burst, kLeftDouble);
    EXPECT_EQ(sim.MouseEvents().size(), 4u * 11u);
}

TEST_F(ClickCycle, PeriodFollowsRateAndUnit) {
    struct Case {
        const char16_t* rate;
        int unit;
        unsigned period;
    };
    const Case cases[] = {
        {u"1", PerSecond, 1000},
        {u"3", PerSecond, 333},
        {u"10", PerSecond, 100},
        {u"30", PerSecond, 33},
        {u"31", PerSecond, 32},
        {u"1000", PerSecond, 1},
        {u"1", SecondsPerClick, 1000},
        {u"3", SecondsPerClick, 3000},
        {u"10", SecondsPerClick, 10000},
        {u"30", SecondsPerClick, 30000},
        {u"31", SecondsPerClick, 31000},
        {u"1000", SecondsPerClick, 1000000},
        {u"+0010", PerSecond, 100},  // leading plus and zeros
        {u"7", -1, 7000},            // no unit selected: seconds per click
    };
    for (const Case& c : cases) {
        sim.SetText(IDC_RATE, c.rate);
        sim.Select(IDC_UNIT, c.unit);
        sim.PressHotKey(VK_F3);  // replaces the running timer each time
        sim.Then([&, c] {
            EXPECT_EQ(sim.TimerPeriod(), c.period)
                << "rate "
                << std::string(c.rate, c.rate + std::char_traits<char16_t>::length(c.rate))
                << " unit " << c.unit;
        });
    }
    RunKestrin(sim);
}

TEST_F(ClickCycle, LabelShowsEachCountUpTo30PerSecondAndTheTooFastTextAbove) {
    sim.SetText(IDC_RATE, u"30");
    sim.PressHotKey(VK_F3);
    sim.Advance(33 * 3);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(3)); });
    sim.PressHotKey(VK_F4);

    sim.SetText(IDC_RATE, u"31");
    sim.PressHotKey(VK_F3);
    std::size_t writesBefore = 0;
    sim.Then([&] { writesBefore = sim.TextHistory(IDC_COUNT).size(); });
    sim.Advance(32 * 5);
    sim.Then([&] {
        EXPECT_EQ(Label(), kTooFastText);
        EXPECT_EQ(sim.TextHistory(IDC_COUNT).size(), writesBefore + 1)
            << "only the first tick after a stop writes the label";
        EXPECT_EQ(BurstCount(), 3u + 5u) << "every tick still clicks";
    });
    // The label rule reads the rate live: back at 30 the next tick shows the hidden count.
    sim.SetText(IDC_RATE, u"30");
    sim.Advance(32);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(6)); });
    // So does the unit: at seconds per click any rate shows the count.
    sim.SetText(IDC_RATE, u"500");
    sim.Select(IDC_UNIT, SecondsPerClick);
    sim.Advance(32);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(7)); });
    RunKestrin(sim);
}

TEST_F(ClickCycle, F3WhileRunningRestartsTheLabelAndPeriodButKeepsTheCount) {
    sim.PressHotKey(VK_F3);
    sim.Advance(500);
    sim.Advance(50);
    sim.PressHotKey(VK_F3);  // the period now counts from here: next tick 100 ms later
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(0)); });
    sim.Advance(99);
    sim.Then([&] { EXPECT_EQ(BurstCount(), 5u); });
    sim.Advance(1);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(6)); });
    sim.PressHotKey(VK_F4);

    // Above 30 per second the reset text stays, because the count is not 0.
    sim.SetText(IDC_RATE, u"31");
    sim.PressHotKey(VK_F3);
    sim.Advance(32 * 4);
    sim.PressHotKey(VK_F3);
    sim.Advance(32 * 4);
    sim.Then([&] {
        EXPECT_EQ(Label(), CountLabel(0));
        EXPECT_EQ(BurstCount(), 6u + 8u);
    });
    RunKestrin(sim);
}

TEST_F(ClickCycle, ModeIsReadAtEveryTickAndNoSelectionSendsNothingButCounts) {
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.Select(IDC_CLICK_MODE, RightSingle);
    sim.Advance(100);
    sim.Select(IDC_CLICK_MODE, LeftSingle);
    sim.Advance(100);
    sim.Select(IDC_CLICK_MODE, RightDouble);
    sim.Advance(100);
    sim.Select(IDC_CLICK_MODE, -1);
    sim.Advance(200);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(6)); });
    RunKestrin(sim);

    const std::vector<std::vector<std::uint32_t>> expected = {
        kLeftDouble, kRightSingle, kLeftSingle, kRightDouble, {}, {}};
    EXPECT_EQ(Bursts(), expected);
}

TEST_F(ClickCycle, EachTickClicksWhereThePointerIsNow) {
    sim.MovePointer({120, 45});
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.MovePointer({700, 500});
    sim.Advance(100);
    RunKestrin(sim);

    ASSERT_EQ(sim.Bursts().size(), 2u);
    EXPECT_EQ(sim.Bursts()[0].at, (kestrin::platform::Point{120, 45}));
    EXPECT_EQ(sim.Bursts()[1].at, (kestrin::platform::Point{700, 500}));
    // The pointer is read and put back where it was, once per tick.
    EXPECT_EQ(sim.PointerWrites(), (std::vector<kestrin::platform::Point>{{120, 45}, {700, 500}}));
}

TEST_F(ClickCycle, APointerThatCannotBeReadIsNotMovedButTheClicksGoOn) {
    sim.FailPointerReads();
    sim.MovePointer({120, 45});
    sim.PressHotKey(VK_F3);
    sim.Advance(200);
    RunKestrin(sim);

    ASSERT_EQ(sim.Bursts().size(), 2u);
    EXPECT_EQ(sim.Bursts()[1].at, (kestrin::platform::Point{120, 45}));
    EXPECT_TRUE(sim.PointerWrites().empty()) << "the pointer was moved to a position never read";
    EXPECT_EQ(Label(), CountLabel(2));
}

TEST_F(ClickCycle, WithoutARateBothKeysAreIgnored) {
    for (const char16_t* noRate : {u"", u"0", u"+", u"+000"}) {
        sim.SetText(IDC_RATE, noRate);
        sim.PressHotKey(VK_F3);
        sim.Advance(1000);
        sim.Then([&] {
            EXPECT_FALSE(sim.TimerPeriod().has_value());
            EXPECT_EQ(Label(), kCountLabel);
        });
    }
    // Running, then the field emptied: F4 is ignored too, the clicker keeps going until a
    // rate is typed again and F4 pressed.
    sim.SetText(IDC_RATE, u"10");
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.SetText(IDC_RATE, u"");
    sim.PressHotKey(VK_F4);
    sim.Advance(200);
    sim.Then([&] { EXPECT_EQ(BurstCount(), 3u); });
    sim.SetText(IDC_RATE, u"5");
    sim.PressHotKey(VK_F4);
    sim.Advance(1000);
    RunKestrin(sim);
    EXPECT_EQ(BurstCount(), 3u);
    EXPECT_TRUE(sim.MessageBoxes().empty());
}

TEST_F(ClickCycle, ABadRateWhileRunningShowsTwoBoxesWhileTicksGoOnUnvalidated) {
    sim.PressHotKey(VK_F3);
    sim.Advance(200);  // two ticks
    sim.SetText(IDC_RATE, u"12a");
    sim.Advance(100);  // this tick's validation rejects the text: the first box is up
    sim.Then([&] {
        EXPECT_EQ(sim.MessageBoxTexts(), std::vector<std::u16string>{kBadRateText});
        EXPECT_EQ(sim.Text(IDC_RATE), u"12a") << "the field is emptied after the first box";
        EXPECT_EQ(BurstCount(), 2u);
    });
    sim.Advance(300);        // three ticks inside the first box: they click and count
    sim.PressHotKey(VK_F4);  // a hot key while a box is up reaches no handler
    sim.Then([&] {
        EXPECT_EQ(BurstCount(), 5u);
        EXPECT_EQ(Label(), CountLabel(5)) << "two before, three inside; the rejected tick not yet";
        EXPECT_EQ(sim.MessageBoxes().size(), 1u) << "ticks inside the box are not validated";
    });
    sim.AnswerMessageBox();
    sim.Then([&] {
        EXPECT_EQ(sim.MessageBoxTexts(), (std::vector<std::u16string>{kBadRateText, kReenterText}));
        EXPECT_EQ(sim.Text(IDC_RATE), u"");
    });
    sim.Advance(100);  // one more inside the second box
    sim.AnswerMessageBox();
    sim.Then([&] {
        // After both boxes the rejected tick gets its own burst and count.
        EXPECT_EQ(BurstCount(), 7u);
        EXPECT_EQ(Label(), CountLabel(7));
        EXPECT_TRUE(sim.TimerPeriod().has_value()) << "a rejection does not stop the clicker";
    });
    RunKestrin(sim);
    EXPECT_EQ(sim.UnexpectedAnswers(), 0);
}

TEST_F(ClickCycle, TicksInsideTheBoxesCompareTheRejectedPartialRate) {
    // "50x" leaves 50 behind: above 30 per second the ticks inside the boxes hide the count.
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    sim.SetText(IDC_RATE, u"50x");
    sim.Advance(100);
    sim.Then([&] { EXPECT_EQ(Label(), CountLabel(1)); });
    sim.Advance(300);
    sim.Then([&] {
        EXPECT_EQ(Label(), CountLabel(1)) << "count is not 0, so the too-fast rule writes nothing";
    });
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    RunKestrin(sim);
    EXPECT_EQ(BurstCount(), 5u);
}

TEST_F(ClickCycle, TypingIsValidatedKeystrokeByKeystroke) {
    // Each keystroke's validation sees the field before the key lands; the next message
    // (here a hot key) sees the whole over-limit number and rejects it.
    sim.Type(IDC_RATE, u"\b\b1001");
    sim.Then([&] {
        EXPECT_EQ(sim.Text(IDC_RATE), u"1001");
        EXPECT_TRUE(sim.MessageBoxes().empty());
    });
    sim.PressHotKey(VK_F3);
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.Then([&] {
        EXPECT_FALSE(sim.TimerPeriod().has_value()) << "a rejected hot key starts nothing";
        EXPECT_EQ(sim.Text(IDC_RATE), u"");
    });
    RunKestrin(sim);
    EXPECT_EQ(sim.MessageBoxTexts(), (std::vector<std::u16string>{kBadRateText, kReenterText}));
}

}  // namespace
