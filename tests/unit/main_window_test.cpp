// The main window: start-up defaults and their failures, the keyboard, painting, the end.
#include <gtest/gtest.h>

#include "tests/unit/kestrin_sim.h"

namespace {

TEST(MainWindow, OpensWithItsDefaultsAndTabVisitsTheFourTabStopsInOrder) {
    SimPlatform sim;
    std::vector<int> focus;
    sim.Then([&] { focus.push_back(sim.FocusedControl()); });
    for (int i = 0; i < 4; ++i) {
        sim.PressKey(VK_TAB);
        sim.Then([&] { focus.push_back(sim.FocusedControl()); });
    }
    RunKestrin(sim);

    EXPECT_EQ(focus, (std::vector<int>{IDC_RATE, IDOK, IDC_CLICK_MODE, IDC_UNIT, IDC_RATE}));
    EXPECT_EQ(sim.Control(IDC_CLICK_MODE).entries,
              (Texts{ExpectedText("mode_left_double"), ExpectedText("mode_left_single"),
                     ExpectedText("mode_right_double"), ExpectedText("mode_right_single")}));
    EXPECT_EQ(sim.Control(IDC_UNIT).entries,
              (Texts{ExpectedText("unit_per_second"), ExpectedText("unit_seconds_per_click")}));
    EXPECT_EQ(sim.Control(IDC_CLICK_MODE).curSel, LeftDouble);
    EXPECT_EQ(sim.Control(IDC_UNIT).curSel, PerSecond);
    EXPECT_EQ(sim.Control(IDC_RATE).text, u"10");
    EXPECT_EQ(sim.Control(IDC_COUNT).text, kCountLabel);
    EXPECT_EQ(sim.Main().bigIcon, static_cast<HICON>(IDR_MAINFRAME));
    EXPECT_EQ(sim.Main().smallIcon, static_cast<HICON>(IDR_MAINFRAME));
    const std::vector<kestrin::sim::MenuItem> appended = {
        {MF_SEPARATOR, 0, u""}, {MF_STRING, IDM_ABOUTBOX, ExpectedText("about_menu_entry")}};
    EXPECT_EQ(sim.Main().systemMenu, appended);
}

TEST(MainWindow, EnterEscAndTheCloseBoxEachEndTheRunEvenWhileClicking) {
    for (const unsigned key : {VK_RETURN, VK_ESCAPE, 0u}) {
        SCOPED_TRACE(key != 0 ? "key " + std::to_string(key) : "close box");
        SimPlatform sim;
        sim.PressHotKey(VK_F3);
        sim.Advance(250);
        key != 0 ? sim.PressKey(key) : sim.SystemCommand(SC_CLOSE);
        EXPECT_EQ(RunKestrin(sim), 0);
        EXPECT_FALSE(sim.ScriptRanOut());
        EXPECT_EQ(sim.records.bursts.size(), 2u);
    }
}

TEST(MainWindow, ARejectedRateIgnoresTheKeyThatFoundIt) {
    SimPlatform sim;
    sim.SetText(IDC_RATE, u"1001");
    sim.PressHotKey(VK_F3);
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.SetText(IDC_RATE, u"1.5");
    sim.PressKey(VK_RETURN);  // does not press Close
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.Advance(1000);
    // The field is empty now, which is a valid (no) rate: this Enter closes.
    sim.PressKey(VK_RETURN);
    RunKestrin(sim);

    EXPECT_TRUE(sim.records.bursts.empty()) << "the rejected F3 started nothing";
    EXPECT_EQ(sim.records.boxTexts,
              (Texts{kBadRateText, kReenterText, kBadRateText, kReenterText}));
    EXPECT_EQ(sim.records.boxCaptions.back(), u"kestrin");
    EXPECT_FALSE(sim.ScriptRanOut());
}

TEST(MainWindow, F3TakenLeavesAnOpenWindowWithoutDefaultsOrHotKeys) {
    SimPlatform sim;
    sim.FailHotKey(VK_F3);  // a second copy: the first holds both keys
    sim.FailHotKey(VK_F4);
    sim.AnswerMessageBox();
    sim.PressKey(VK_RETURN);  // the window is up and closes
    RunKestrin(sim);

    EXPECT_EQ(sim.records.boxTexts, Texts{ExpectedText("hotkey_f3_failed")}) << "F4 not tried";
    EXPECT_EQ(sim.records.boxCaptions, Texts{u"kestrin"});
    EXPECT_TRUE(sim.Control(IDC_RATE).textHistory.empty()) << "no default rate";
    EXPECT_EQ(sim.Control(IDC_CLICK_MODE).curSel, -1);
    EXPECT_EQ(sim.Control(IDC_UNIT).curSel, -1);
    EXPECT_EQ(sim.Main().systemMenu.size(), 2u) << "the About entry was added before";
    EXPECT_FALSE(sim.ScriptRanOut());
}

TEST(MainWindow, F4TakenStartsButCannotStopAndRunsWithoutModeOrUnit) {
    SimPlatform sim;
    sim.FailHotKey(VK_F4);
    sim.AnswerMessageBox();
    sim.SetText(IDC_RATE, u"2");
    sim.PressHotKey(VK_F3);
    sim.Advance(6000);
    sim.PressHotKey(VK_F4);
    sim.Advance(2000);
    RunKestrin(sim);

    EXPECT_EQ(sim.records.boxTexts, Texts{ExpectedText("hotkey_f4_failed")});
    // No unit selected is seconds per click: a tick every 2 s.
    ASSERT_EQ(sim.records.bursts.size(), 4u);
    for (const auto& burst : sim.records.bursts) EXPECT_TRUE(burst.flags.empty()) << "no mode";
    EXPECT_EQ(sim.Control(IDC_COUNT).text, CountLabel(4)) << "ticks that send nothing count";
}

TEST(MainWindow, MinimisedItPaintsItsIconCentredOnAnErasedBackground) {
    SimPlatform sim;
    sim.SystemCommand(SC_MINIMIZE);
    RunKestrin(sim);

    // A 32 x 32 icon in the 362 x 197 pixel client area.
    const kestrin::sim::DrawnIcon centred = {{165, 83}, static_cast<HICON>(IDR_MAINFRAME)};
    EXPECT_EQ(sim.records.drawnIcons, std::vector{centred});
    EXPECT_EQ(sim.records.iconErases, 1);
}

}  // namespace
