// The About entry of the system menu, the About box and its link.
#include <gtest/gtest.h>

#include "res/version.h"
#include "tests/unit/kestrin_sim.h"

namespace {

using kestrin::platform::Point;

const std::u16string kPage = u"" KESTRIN_PAGE_URL;

TEST(AboutBox, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
    SimPlatform sim;
    RunKestrin(sim);
    const auto menu = sim.SystemMenu();
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2].flags, MF_SEPARATOR);
    EXPECT_EQ(menu.back().flags, MF_STRING);
    EXPECT_EQ(menu.back().id, IDM_ABOUTBOX);
    EXPECT_EQ(menu.back().text, u"&About Kestrin...");
}

TEST(AboutBox, WithoutASystemMenuNothingIsAppended) {
    SimPlatform sim;
    sim.RemoveSystemMenus();
    sim.PressHotKey(VK_F3);
    sim.Advance(100);
    RunKestrin(sim);
    EXPECT_EQ(sim.SystemMenu().size(), 3u) << "the three items the menu started with";
    EXPECT_EQ(sim.Bursts().size(), 1u) << "the rest of start-up went on";
}

TEST(AboutBox, TheEntryOpensTheBoxAndOtherCommandsGetDefaultProcessing) {
    SimPlatform sim;
    sim.SystemCommand(IDM_ABOUTBOX | 0x3);  // the low four bits are the system's own
    sim.Then([&] { EXPECT_TRUE(sim.IsRunning(IDD_ABOUTBOX)); });
    sim.PressKey(VK_RETURN);  // OK in the About box closes it, not the main window
    sim.Then([&] {
        EXPECT_FALSE(sim.IsRunning(IDD_ABOUTBOX));
        EXPECT_TRUE(sim.IsRunning(IDD_MAIN));
    });
    sim.SystemCommand(SC_MINIMIZE);
    sim.Then([&] { EXPECT_TRUE(sim.IsIconic(sim.MainWindow())); });
    sim.SystemCommand(SC_CLOSE);
    RunKestrin(sim);
    EXPECT_EQ(sim.DialogsShown(), (std::vector<int>{IDD_MAIN, IDD_ABOUTBOX}));
    EXPECT_EQ(sim.ModalResults(), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_FALSE(sim.ScriptRanOut());
}

class AboutLink : public ::testing::Test {
  protected:
    // Opens the About box, then clicks at each point with the flags given.
    void ClickAll(const std::vector<std::pair<Point, UINT>>& clicks) {
        sim.SystemCommand(IDM_ABOUTBOX);
        for (const auto& [point, flags] : clicks) sim.LButtonDown(point, flags);
        sim.Then([&] { aboutStillOpen = sim.IsRunning(IDD_ABOUTBOX); });
        sim.PressKey(VK_ESCAPE);
        RunKestrin(sim);
    }
    kestrin::platform::Rect Link() {
        // Make the About box once so its geometry can be read.
        SimPlatform probe;
        probe.SystemCommand(IDM_ABOUTBOX);
        RunKestrin(probe);
        return probe.ControlRect(IDD_ABOUTBOX, IDC_LINK);
    }

    SimPlatform sim;
    bool aboutStillOpen = false;
};

TEST_F(AboutLink, APlainLeftClickInsideOpensThePageAndLeavesTheBoxOpen) {
    const auto r = Link();
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    ClickAll({{{midX, midY}, MK_LBUTTON},
              {{r.left + 1, r.top + 1}, MK_LBUTTON},
              {{r.right - 1, r.bottom - 1}, MK_LBUTTON}});
    EXPECT_EQ(sim.OpenedAddresses(), (std::vector<std::u16string>{kPage, kPage, kPage}));
    EXPECT_TRUE(aboutStillOpen);
}

TEST_F(AboutLink, EdgesOutsidePointsAndModifiersOpenNothing) {
    const auto r = Link();
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    ClickAll({{{r.left, midY}, MK_LBUTTON},  // leftmost pixel column
              {{midX, r.top}, MK_LBUTTON},   // top pixel row
              {{r.right, midY}, MK_LBUTTON},
              {{midX, r.bottom}, MK_LBUTTON},
              {{r.left - 5, midY}, MK_LBUTTON},
              {{midX, midY}, MK_LBUTTON | MK_SHIFT},
              {{midX, midY}, MK_LBUTTON | MK_CONTROL},
              {{midX, midY}, MK_LBUTTON | MK_RBUTTON}});
    EXPECT_TRUE(sim.OpenedAddresses().empty());
}

TEST_F(AboutLink, TheHandShowsOnlyOverTheLink) {
    const auto r = Link();
    sim.SystemCommand(IDM_ABOUTBOX);
    sim.MouseMove({r.left - 10, r.top - 10});
    sim.Then([&] { EXPECT_TRUE(sim.CursorChanges().empty()); });
    sim.MouseMove({r.left + 3, r.top + 3});
    sim.Then([&] {
        EXPECT_EQ(sim.CursorChanges(), std::vector<HCURSOR>{static_cast<HCURSOR>(IDC_LINK_CURSOR)});
    });
    sim.MouseMove({r.right + 10, r.top + 3});
    sim.PressKey(VK_ESCAPE);
    RunKestrin(sim);
    EXPECT_EQ(sim.CursorChanges().size(), 1u);
}

TEST_F(AboutLink, WithoutTheLinkControlNothingHappens) {
    const auto r = Link();
    sim.RemoveControl(IDD_ABOUTBOX, IDC_LINK);
    sim.MouseMove({r.left + 3, r.top + 3});
    ClickAll({{{r.left + 3, r.top + 3}, MK_LBUTTON}});
    EXPECT_TRUE(sim.OpenedAddresses().empty());
    EXPECT_TRUE(sim.CursorChanges().empty());
}

TEST(AboutBox, HotKeysAndValidationKeepWorkingWhileItIsOpen) {
    SimPlatform sim;
    sim.SystemCommand(IDM_ABOUTBOX);
    sim.PressHotKey(VK_F3);
    sim.Advance(300);
    sim.Then([&] { EXPECT_EQ(sim.Bursts().size(), 3u); });
    sim.SetText(IDC_RATE, u"abc");
    sim.Advance(100);
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.Then([&] { EXPECT_TRUE(sim.IsRunning(IDD_ABOUTBOX)); });
    sim.SetText(IDC_RATE, u"10");
    sim.PressHotKey(VK_F4);
    sim.Advance(1000);
    // Stopped, nothing is aimed at the main window any more: a message for the About box
    // itself is what validates the field.
    sim.SetText(IDC_RATE, u"x");
    sim.MouseMove({5, 5});
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.Then([&] { EXPECT_EQ(sim.MessageBoxTexts().size(), 4u) << "the About box's message"; });
    sim.PressKey(VK_ESCAPE);
    sim.PressKey(VK_ESCAPE);
    RunKestrin(sim);
    EXPECT_EQ(sim.MessageBoxTexts(), (std::vector<std::u16string>{kBadRateText, kReenterText,
                                                                  kBadRateText, kReenterText}));
    EXPECT_EQ(sim.Bursts().size(), 4u) << "F4 in the About box stopped the clicker";
    EXPECT_EQ(sim.ModalResults(), (std::vector<int>{IDCANCEL, IDCANCEL}));
    EXPECT_EQ(sim.UnexpectedAnswers(), 0);
}

}  // namespace
