// A deterministic, scripted platform for tests.
//
// A test writes a script of user actions and clock advances before running the program; the
// innermost running loop (a dialog's or a message box's) takes the next action whenever its
// message queue is empty, so time can pass, and ticks click, while a message box is up. The
// platform records what the program does to the outside world (Records).
//
// Implemented in two parts: sim_desktop.cpp (the desktop and its clock: windows, loops,
// timer, hot keys, pointer) and sim_script.cpp (the user's actions, and reading back).
//
// When the script runs out, open message boxes answer OK by themselves and open dialogs end
// with IDCANCEL; ScriptRanOut() tells a test that this happened.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/tick_pacer.h"
#include "platform/window_values.h"

namespace kestrin::sim {

using platform::CursorId;
using platform::IconId;
using platform::Message;
using platform::Point;
using platform::Rect;
using platform::WindowId;

// What the simulated desktop records of the program's effects on the outside world.
struct MouseBurst {
    platform::Point at;
    std::vector<std::uint32_t> flags;
    std::int64_t ms = 0;  // the virtual time it was sent
};

struct DrawnIcon {
    platform::Point at;
    platform::IconId icon;
    friend bool operator==(const DrawnIcon&, const DrawnIcon&) = default;
};

// Everything in the order it happened.
struct Records {
    std::vector<MouseBurst> bursts;
    std::vector<std::u16string> boxTexts;  // message boxes shown
    std::vector<std::u16string> boxCaptions;
    std::vector<platform::CursorId> cursors;  // cursors made current
    std::vector<std::u16string> opened;       // addresses given to the shell
    std::vector<DrawnIcon> drawnIcons;
    int iconErases = 0;
};

struct MenuItem {
    unsigned flags;
    std::uintptr_t id;
    std::u16string text;
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

// A dialog or one of its controls. Windows stay readable after they are destroyed.
struct Window {
    WindowId id = WindowId::None;
    WindowId parent = WindowId::None;  // None for dialogs
    platform::WindowHost* host = nullptr;
    int templateId = 0;
    int controlId = 0;
    std::uint32_t style = 0;
    std::u16string text;
    std::vector<std::u16string> textHistory;  // every text set, the first one included
    std::vector<std::u16string> entries;
    int curSel = -1;
    Rect rect;                  // screen pixels; a dialog's is its client area
    std::optional<int> result;  // set when the dialog has ended
    bool iconic = false;
    IconId bigIcon = IconId::None;
    IconId smallIcon = IconId::None;
    std::vector<MenuItem> systemMenu;  // what the program appended
    WindowId focus = WindowId::None;
    std::vector<WindowId> children;  // in creation (tab) order
};

class SimPlatform final : public platform::Platform {
  public:
    // --- Script: each call appends one action -------------------------------------------
    void Then(std::function<void()> action) { m_script.push_back(std::move(action)); }
    // Replaces a main-window control's text at once, as a paste would (no message).
    void SetText(int controlId, std::u16string text) {
        Then([this, controlId, text] { SetWindowText(Control(controlId).id, text); });
    }
    // Selects an entry of a main-window list (-1: none) with a click on the list.
    void Select(int controlId, int index);
    // A system-wide hot key: WM_HOTKEY to the window that registered it, if any.
    void PressHotKey(unsigned vk);
    // A key pressed in the active dialog, to its focused control.
    void PressKey(unsigned vk);
    // A mouse message (move, left button down) to the active dialog, client coordinates.
    void Mouse(unsigned message, Point client, unsigned keyFlags = 0);
    // Chooses a command from the main window's system menu.
    void SystemCommand(unsigned command) {
        Then([this, command] { Post({m_mainWindow, wm::SysCommand, command, 0}); });
    }
    // Moves the pointer (a user moving the mouse), screen pixels.
    void MovePointer(Point screen) {
        Then([this, screen] { m_pointer = screen; });
    }
    // Lets `ms` of virtual time pass; timer ticks fire at their exact due times.
    void Advance(std::int64_t ms) {
        Then([this, ms] { AdvanceTo(m_now + ms); });
    }
    // Lets `ms` pass with the program stopped: the timer's periods go by unseen, and it wakes
    // late at the next Advance.
    void Stall(std::int64_t ms) {
        Then([this, ms] { m_now += ms; });
    }
    // Presses OK in the message box that is up.
    void AnswerMessageBox();

    // --- Set-up -------------------------------------------------------------------------
    // Makes RegisterHotKey fail for this key, as when another program holds it.
    void FailHotKey(unsigned vk) { m_failingKeys.push_back(vk); }
    // Makes every read of the pointer fail, as on a secure desktop.
    void FailPointerReads() { m_pointerUnreadable = true; }

    // --- What happened ------------------------------------------------------------------
    Records records;
    bool ScriptRanOut() const { return m_scriptRanOut; }
    // Actions that did nothing: never run because every loop had ended, or answers to no box.
    std::size_t UnusedActions() const { return m_script.size() + m_unusedAnswers; }
    // The main window (the first dialog made) and its controls.
    const Window& Main() const { return m_windows.at(m_mainWindow); }
    const Window& Control(int controlId) const { return Find(ChildOf(Main(), controlId)); }
    int FocusedControl() const;  // control id in the active dialog, 0 for none
    bool IsRunning(int dialogTemplateId) const;
    // A control's rectangle in its dialog's client area, for the newest dialog of a template.
    Rect ControlRect(int dialogTemplateId, int controlId) const;
    // The main window's click timer: its period while it runs.
    std::optional<unsigned> TimerPeriod() const;

    // --- Platform -----------------------------------------------------------------------
    std::u16string ExecutableName() override { return u"kestrin"; }
    bool InitCommonControls(std::uint32_t, std::uint32_t) override { return true; }
    WindowId CreateDialogWindow(const platform::DialogTemplate& tmpl, platform::WindowHost& host,
                                WindowId owner) override;
    int RunModal(WindowId dialog) override;
    void EndDialog(WindowId dialog, int result) override { Find(dialog).result = result; }
    void DestroyWindow(WindowId window) override;
    bool IsDialogMessage(WindowId dialog, const Message& msg) override;
    void FocusFirstTabStop(WindowId dialog) override;
    std::intptr_t DefaultProcessing(const Message& msg) override;
    WindowId GetDlgItem(WindowId dialog, int id) override { return ChildOf(Find(dialog), id); }
    std::u16string GetWindowText(WindowId window) override { return Find(window).text; }
    void SetWindowText(WindowId window, std::u16string_view text) override;
    Rect GetWindowRect(WindowId window) override { return Find(window).rect; }
    Rect GetClientRect(WindowId window) override;
    Point ScreenToClient(WindowId window, Point screen) override {
        return {screen.x - Find(window).rect.left, screen.y - Find(window).rect.top};
    }
    bool IsIconic(WindowId window) override { return Find(window).iconic; }
    int ComboAddString(WindowId combo, std::u16string_view text) override;
    int ComboGetCurSel(WindowId combo) override { return Find(combo).curSel; }
    int ComboSetCurSel(WindowId combo, int index) override;
    int MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                   unsigned type) override;
    bool SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;
    bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) override;
    bool GetCursorPos(Point& screen) override;
    bool SetCursorPos(Point screen) override;
    void SendMouseBurst(std::span<const std::uint32_t> flags) override {
        records.bursts.push_back({m_pointer, {flags.begin(), flags.end()}, m_now});
    }
    CursorId LoadCursor(int resourceId) override { return static_cast<CursorId>(resourceId); }
    CursorId SetCursor(CursorId cursor) override;
    IconId LoadIcon(int resourceId) override { return static_cast<IconId>(resourceId); }
    void SetIcon(WindowId window, IconId icon, bool big) override {
        (big ? Find(window).bigIcon : Find(window).smallIcon) = icon;
    }
    int GetSystemMetrics(int) override { return 32; }  // asked for the icon's size only
    platform::PaintId BeginPaint(WindowId w) override { return static_cast<platform::PaintId>(w); }
    void EndPaint(WindowId, platform::PaintId) override {}
    void DrawIcon(platform::PaintId, int x, int y, IconId icon) override {
        records.drawnIcons.push_back({{x, y}, icon});
    }
    platform::MenuId GetSystemMenu(WindowId window, bool revert) override;
    bool AppendMenu(platform::MenuId menu, unsigned flags, std::uintptr_t id,
                    std::u16string_view text) override;
    void ShellOpen(std::u16string_view address) override { records.opened.emplace_back(address); }

  private:
    struct Timer {
        unsigned periodMs;
        std::int64_t startMs;
        std::int64_t periods = 0;  // periods passed at its last wake
        platform::TickPacer pacer{periodMs};
        bool queued = false;  // one of its ticks is in the queue
        std::int64_t NextDueMs() const { return startMs + (periods + 1) * periodMs; }
    };

    Window& Find(WindowId id) { return m_windows.at(id); }
    const Window& Find(WindowId id) const { return m_windows.at(id); }
    Window& Dialog(WindowId anyWindow);  // the dialog a window belongs to
    // The dialog of the innermost framework loop, or nullptr while a message box is up.
    Window* ActiveDialog();
    WindowId ChildOf(const Window& dialog, int controlId) const;  // None when it has none
    void Post(const Message& msg) { m_queue.push_back(msg); }
    // Runs one loop iteration: a queued message, else a script action. False when idle.
    bool Step(bool framework);
    void AdvanceTo(std::int64_t target);
    // Queues the timer's next tick if its pacer hands one out and none is queued.
    void QueueTick(WindowId window, std::uintptr_t id, Timer& timer);

    std::int64_t m_now = 0;
    std::deque<Message> m_queue;
    std::deque<std::function<void()>> m_script;
    std::map<WindowId, Window> m_windows;
    WindowId m_mainWindow = WindowId::None;
    std::vector<WindowId> m_modalStack;
    std::vector<bool> m_boxAnswered;  // one per open message box, innermost last
    std::map<std::pair<WindowId, std::uintptr_t>, Timer> m_timers;
    std::map<unsigned, std::pair<WindowId, int>> m_hotKeys;  // vk -> window, id
    std::vector<unsigned> m_failingKeys;
    bool m_pointerUnreadable = false;
    bool m_scriptRanOut = false;
    std::size_t m_unusedAnswers = 0;
    Point m_pointer{400, 300};
    CursorId m_cursor{wm::ArrowCursor};
};

}  // namespace kestrin::sim
