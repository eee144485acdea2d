// The About box: its link, and the main window's work going on while it is open.
#include <gtest/gtest.h>

#include "tests/unit/kestrin_sim.h"

namespace {

TEST(AboutBox, APlainLeftClickInsideTheLinkOpensThePageAndTheHandShowsOverIt) {
    // Open the box once to read the link's geometry.
    SimPlatform probe;
    probe.SystemCommand(IDM_ABOUTBOX);
    RunKestrin(probe);
    const auto r = probe.ControlRect(IDD_ABOUTBOX, IDC_LINK);
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    const struct {
        Point at;
        UINT flags;
        bool inside;
    } clicks[] = {
        {{midX, midY}, MK_LBUTTON, true},
        {{r.left + 1, r.top + 1}, MK_LBUTTON, true},
        {{r.right - 1, r.bottom - 1}, MK_LBUTTON, true},
        {{r.left, midY}, MK_LBUTTON, false},  // the edges are outside
        {{midX, r.top}, MK_LBUTTON, false},
        {{r.right, midY}, MK_LBUTTON, false},
        {{midX, r.bottom}, MK_LBUTTON, false},
        {{midX, midY}, MK_LBUTTON | MK_SHIFT, true},
        {{midX, midY}, MK_LBUTTON | MK_CONTROL, true},
        {{midX, midY}, MK_LBUTTON | MK_RBUTTON, true},
    };
    const std::vector<HCURSOR> hand = {static_cast<HCURSOR>(IDC_LINK_CURSOR)};
    for (const auto& click : clicks) {
        SCOPED_TRACE(::testing::Message() << click.at.x << "," << click.at.y << " " << click.flags);
        SimPlatform sim;
        sim.SystemCommand(IDM_ABOUTBOX);
        sim.Mouse(WM_MOUSEMOVE, click.at);
        sim.Mouse(WM_LBUTTONDOWN, click.at, click.flags);
        sim.Then([&] { EXPECT_TRUE(sim.IsRunning(IDD_ABOUTBOX)); });
        RunKestrin(sim);

        // A plain left click only: Shift, Ctrl or another button held opens nothing.
        const bool opens = click.inside && click.flags == MK_LBUTTON;
        EXPECT_EQ(sim.records.opened, opens ? Texts{u"" KESTRIN_PAGE_URL} : Texts{});
        EXPECT_EQ(sim.records.cursors, click.inside ? hand : std::vector<HCURSOR>{});
    }
}

TEST(AboutBox, OpensFromItsMenuEntryAndHotKeysAndValidationKeepWorkingWhileItIsOpen) {
    SimPlatform sim;
    sim.SystemCommand(IDM_ABOUTBOX | 0x3);  // the low four bits are the system's own
    sim.PressHotKey(VK_F3);
    sim.Advance(300);
    sim.Then([&] { EXPECT_TRUE(sim.IsRunning(IDD_ABOUTBOX)); });
    sim.SetText(IDC_RATE, u"abc");
    sim.Advance(100);
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.SetText(IDC_RATE, u"10");
    sim.PressHotKey(VK_F4);
    sim.Advance(1000);
    // Stopped, nothing is aimed at the main window any more: a message for the About box
    // itself is what validates the field.
    sim.SetText(IDC_RATE, u"x");
    sim.Mouse(WM_MOUSEMOVE, {5, 5});
    sim.AnswerMessageBox();
    sim.AnswerMessageBox();
    sim.PressKey(VK_RETURN);  // OK closes the About box, not the main window
    sim.Then([&] {
        EXPECT_FALSE(sim.IsRunning(IDD_ABOUTBOX));
        EXPECT_TRUE(sim.IsRunning(IDD_MAIN));
    });
    RunKestrin(sim);

    EXPECT_EQ(sim.records.boxTexts,
              (Texts{kBadRateText, kReenterText, kBadRateText, kReenterText}));
    EXPECT_EQ(sim.records.bursts.size(), 4u) << "F4 in the About box stopped the clicker";
}

}  // namespace
