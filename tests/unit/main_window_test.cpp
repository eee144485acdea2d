// The main window: start-up defaults, hot-key registration failures, how the run ends.
#include <gtest/gtest.h>

#include "app/kestrin_app.h"
#include "tests/unit/kestrin_sim.h"

namespace {

TEST(MainWindow, OpensWithItsDefaultsAndEndsTheProcessWhenClosed) {
    SimPlatform sim;
    sim.Then([&] {
        EXPECT_EQ(sim.Caption(sim.MainWindow()), u"Kestrin");
        EXPECT_EQ(sim.Entries(IDC_CLICK_MODE),
                  (std::vector<std::u16string>{
                      ExpectedText("mode_left_double"), ExpectedText("mode_left_single"),
                      ExpectedText("mode_right_double"), ExpectedText("mode_right_single")}));
        EXPECT_EQ(sim.Entries(IDC_UNIT),
                  (std::vector<std::u16string>{ExpectedText("unit_per_second"),
                                               ExpectedText("unit_seconds_per_click")}));
        EXPECT_EQ(sim.Selection(IDC_CLICK_MODE), LeftDouble);
        EXPECT_EQ(sim.Selection(IDC_UNIT), PerSecond);
        EXPECT_EQ(sim.Text(IDC_RATE), u"10");
        EXPECT_EQ(sim.Text(IDC_COUNT), kCountLabel);
        EXPECT_EQ(sim.FocusedControl(), IDC_RATE);
        EXPECT_EQ(sim.Icon(true), static_cast<HICON>(IDR_MAINFRAME));
        EXPECT_EQ(sim.Icon(false), static_cast<HICON>(IDR_MAINFRAME));
        EXPECT_EQ(sim.HotKeys(), (std::vector<std::pair<unsigned, int>>{{VK_F3, HOTKEY_START},
                                                                        {VK_F4, HOTKEY_STOP}}));
        EXPECT_EQ(theApp.m_pMainWnd->GetSafeHwnd(), sim.MainWindow());
    });
    sim.PressKey(VK_ESCAPE);
    const int exitCode = RunKestrin(sim);

    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(sim.ScriptRanOut());
    EXPECT_EQ(sim.ModalResults(), std::vector<int>{IDCANCEL});
    EXPECT_EQ(sim.DialogsShown(), std::vector<int>{IDD_MAIN});
    EXPECT_EQ(sim.CommonControlsInits(),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{8, 0xFF}}));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr) << "no dangling main window after the run";
    EXPECT_TRUE(sim.MessageBoxes().empty());
}

TEST(MainWindow, EnterCloseButtonEscAndCloseBoxEachEndTheRun) {
    struct Way {
        const char* name;
        void (*act)(SimPlatform&);
        int result;
    };
    const Way ways[] = {
        {"Enter", [](SimPlatform& s) { s.PressKey(VK_RETURN); }, IDOK},
        {"Close button", [](SimPlatform& s) { s.ClickButton(IDOK); }, IDOK},
        {"Esc", [](SimPlatform& s) { s.PressKey(VK_ESCAPE); }, IDCANCEL},
        {"close box", [](SimPlatform& s) { s.ClickCloseBox(); }, IDCANCEL},
    };
    for (const Way& way : ways) {
        SimPlatform sim;
        sim.PressHotKey(VK_F3);  // even while clicking
        sim.Advance(250);
        way.act(sim);
        EXPECT_EQ(RunKestrin(sim), 0) << way.name;
        EXPECT_FALSE(sim.ScriptRanOut()) << way.name;
        EXPECT_EQ(sim.ModalResults(), std::vector<int>{way.result}) << way.name;
        EXPECT_EQ(sim.Bursts().size(), 2u) << way.name;
    }
}

TEST(MainWindow, EnterWithABadRateDoesNotPressClose) {
    SimPlatform sim;
    sim.SetText(IDC_RATE, u"1.5");
    sim.PressKey(VK_RETURN);
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.Then([&] { EXPECT_TRUE(sim.IsRunning(IDD_MAIN)); });
    // The field is empty now, which is a valid (no) rate: this Enter closes.
    sim.PressKey(VK_RETURN);
    RunKestrin(sim);
    EXPECT_EQ(sim.MessageBoxTexts(), (std::vector<std::u16string>{kBadRateText, kReenterText}));
    EXPECT_EQ(sim.ModalResults(), std::vector<int>{IDOK});
    EXPECT_FALSE(sim.ScriptRanOut());
}

TEST(MainWindow, TabVisitsTheFourTabStopsInOrder) {
    SimPlatform sim;
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        sim.PressKey(VK_TAB);
        sim.Then([&] { visited.push_back(sim.FocusedControl()); });
    }
    RunKestrin(sim);
    EXPECT_EQ(visited, (std::vector<int>{IDOK, IDC_CLICK_MODE, IDC_UNIT, IDC_RATE}));
}

TEST(MainWindow, FieldIsNotRewrittenWhileItsTextIsValid) {
    // Validation runs on every message; rewriting an unchanged field would move the caret.
    SimPlatform sim;
    sim.PressHotKey(VK_F3);
    sim.Advance(1000);
    sim.Type(IDC_RATE, u"0");
    sim.Advance(500);
    RunKestrin(sim);
    EXPECT_EQ(sim.TextHistory(IDC_RATE), (std::vector<std::u16string>{u"10", u"100"}))
        << "only the start-up default and the typed key";
}

TEST(MainWindow, F3TakenLeavesAnOpenWindowWithoutDefaultsOrHotKeys) {
    SimPlatform sim;
    sim.FailHotKey(VK_F3);
    sim.AnswerMessageBox();
    sim.Then([&] {
        EXPECT_EQ(sim.Text(IDC_RATE), u"");
        EXPECT_EQ(sim.Selection(IDC_CLICK_MODE), -1);
        EXPECT_EQ(sim.Selection(IDC_UNIT), -1);
        EXPECT_EQ(sim.HotKeys().size(), 1u) << "F4 is not even tried";
        ASSERT_EQ(sim.SystemMenu().size(), 5u) << "the About entry was added before";
    });
    sim.SetText(IDC_RATE, u"5");
    sim.PressHotKey(VK_F3);  // not ours: nothing happens
    sim.Advance(10000);
    sim.ClickButton(IDOK);
    RunKestrin(sim);

    ASSERT_EQ(sim.MessageBoxes().size(), 1u);
    EXPECT_EQ(sim.MessageBoxes()[0].text, ExpectedText("hotkey_f3_failed"));
    EXPECT_EQ(sim.MessageBoxes()[0].caption, u"kestrin");
    EXPECT_EQ(sim.MessageBoxes()[0].owner, sim.MainWindow());
    EXPECT_TRUE(sim.Bursts().empty());
    EXPECT_EQ(sim.ModalResults(), std::vector<int>{IDOK});
}

TEST(MainWindow, F4TakenStartsButCannotStopAndRunsWithoutModeOrUnit) {
    SimPlatform sim;
    sim.FailHotKey(VK_F4);
    sim.AnswerMessageBox();
    sim.SetText(IDC_RATE, u"2");
    sim.PressHotKey(VK_F3);
    sim.Then([&] {
        // No unit selected: seconds per click.
        EXPECT_EQ(sim.TimerPeriod(), 2000u);
    });
    sim.Advance(6000);
    sim.PressHotKey(VK_F4);
    sim.Advance(2000);
    sim.PressKey(VK_ESCAPE);
    RunKestrin(sim);

    EXPECT_EQ(sim.MessageBoxTexts(), std::vector<std::u16string>{ExpectedText("hotkey_f4_failed")});
    ASSERT_EQ(sim.Bursts().size(), 4u);
    for (const auto& burst : sim.Bursts()) EXPECT_TRUE(burst.flags.empty()) << "no mode selected";
    EXPECT_EQ(sim.Text(IDC_COUNT), CountLabel(4)) << "ticks that send nothing still count";
}

TEST(MainWindow, MinimisedWindowPaintsItsIconCentred) {
    SimPlatform sim;
    sim.Minimise();
    RunKestrin(sim);
    ASSERT_EQ(sim.DrawnIcons().size(), 1u);
    const auto client = sim.GetClientRect(sim.MainWindow());
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    EXPECT_EQ(sim.DrawnIcons()[0].x, (w - 32 + 1) / 2);
    EXPECT_EQ(sim.DrawnIcons()[0].y, (h - 32 + 1) / 2);
    EXPECT_EQ(sim.DrawnIcons()[0].icon, static_cast<HICON>(IDR_MAINFRAME));
    EXPECT_EQ(sim.IconBackgroundErases(), 1);
}

TEST(MainWindow, InitInstanceRunsTheWindowOnceAndReturnsFalse) {
    SimPlatform sim;
    sim.PressKey(VK_RETURN);
    CPlatformScope scope(sim, kestrin::res::ProgramResources());
    EXPECT_EQ(theApp.InitInstance(), FALSE) << "no message loop of the application's own";
    EXPECT_EQ(sim.DialogsShown(), std::vector<int>{IDD_MAIN});
    EXPECT_EQ(sim.PendingActions(), 0u);
}

TEST(MainWindow, KeepsNoSettings) {
    SimPlatform sim;
    RunKestrin(sim);
    EXPECT_EQ(theApp.m_pszRegistryKey, CString(u"Local AppWizard-Generated Applications"));
}

}  // namespace
