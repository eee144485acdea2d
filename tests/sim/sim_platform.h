// A deterministic, scripted platform for tests.
//
// A test writes a script of user actions and clock advances before running the program; the
// innermost running loop (a dialog's or a message box's) takes the next action whenever its
// message queue is empty, so time can pass, and ticks click, while a message box is up. The
// platform records everything the program does to the outside world.
//
// Implemented in three parts: sim_script.cpp (the user's actions and the clock),
// sim_desktop.cpp (windows, loops, timer, hot keys, pointer), sim_records.cpp (what the
// program did, read back).
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
#include "platform/window_values.h"
#include "tests/sim/sim_records.h"

namespace kestrin::sim {

using platform::CursorId;
using platform::IconId;
using platform::Message;
using platform::Point;
using platform::WindowId;

class SimPlatform final : public platform::Platform {
  public:
    SimPlatform();
    ~SimPlatform() override;

    // --- Script: each call appends one action -------------------------------------------
    void Then(std::function<void()> action);
    // Replaces a main-window control's text at once, as a paste would (no message).
    void SetText(int controlId, std::u16string text);
    // Types into a main-window control: focus, then one WM_CHAR per character (appended;
    // U+0008 deletes the last one). Each keystroke is a message, pre-translated first.
    void Type(int controlId, std::u16string text);
    // Selects an entry of a main-window list (-1: none), as the user would with the mouse;
    // the click on the list is a message like any other.
    void Select(int controlId, int index);
    // A system-wide hot key: WM_HOTKEY to the window that registered it, if any.
    void PressHotKey(unsigned vk);
    // A key pressed in the active dialog, to its focused control.
    void PressKey(unsigned vk);
    // Mouse input in the active dialog, client coordinates, with key-state flags.
    void MouseMove(Point client, unsigned keyFlags = 0);
    void LButtonDown(Point client, unsigned keyFlags);
    // Clicks a push button of the active dialog.
    void ClickButton(int controlId);
    void ClickCloseBox();
    // Chooses a command from the main window's system menu.
    void SystemCommand(unsigned command);
    // Minimises the main window, which then repaints.
    void Minimise();
    // Moves the pointer (a user moving the mouse), screen pixels.
    void MovePointer(Point screen);
    // Lets `ms` of virtual time pass; timer ticks fire at their exact due times.
    void Advance(std::int64_t ms);
    // Presses OK in the message box that is up.
    void AnswerMessageBox();

    // --- Set-up -------------------------------------------------------------------------
    // Makes RegisterHotKey fail for this key, as when another program holds it.
    void FailHotKey(unsigned vk) { m_failingKeys.push_back(vk); }
    void RemoveSystemMenus() { m_noSystemMenu = true; }
    void RemoveControl(int dialogTemplateId, int controlId);
    // Makes every read of the pointer fail, as on a secure desktop.
    void FailPointerReads() { m_pointerUnreadable = true; }

    // --- What happened ------------------------------------------------------------------
    bool ScriptRanOut() const { return m_scriptRanOut; }
    // Script actions never run because every loop had ended.
    std::size_t PendingActions() const { return m_script.size(); }
    int UnexpectedAnswers() const { return m_unexpectedAnswers; }
    const std::vector<MouseBurst>& Bursts() const { return m_bursts; }
    // All button events sent, in order.
    std::vector<std::uint32_t> MouseEvents() const;
    const std::vector<Point>& PointerWrites() const { return m_pointerWrites; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    std::vector<std::u16string> MessageBoxTexts() const;
    const std::vector<CursorId>& CursorChanges() const { return m_cursorChanges; }
    const std::vector<std::u16string>& OpenedAddresses() const { return m_opened; }
    const std::vector<DrawnIcon>& DrawnIcons() const { return m_drawnIcons; }
    int IconBackgroundErases() const { return m_iconErases; }
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& CommonControlsInits() const {
        return m_commonControls;
    }
    const std::vector<std::pair<unsigned, int>>& HotKeys() const { return m_hotKeyRegistrations; }

    // The main window (the first dialog created) and dialogs shown so far by template id.
    WindowId MainWindow() const { return m_mainWindow; }
    std::vector<int> DialogsShown() const { return m_dialogsShown; }
    // What each modal run returned, in the order the runs ended.
    const std::vector<int>& ModalResults() const { return m_modalResults; }
    // True while a dialog made from this template is running.
    bool IsRunning(int dialogTemplateId) const;
    // A control's rectangle in its dialog's client area, pixels, for the newest dialog made
    // from the template.
    platform::Rect ControlRect(int dialogTemplateId, int controlId) const;
    // State of the main window's controls, while it exists or as it was when destroyed.
    std::u16string Text(int controlId) const;
    const std::vector<std::u16string>& TextHistory(int controlId) const;
    std::vector<std::u16string> Entries(int controlId) const;
    int Selection(int controlId) const;
    int FocusedControl() const;  // control id in the active dialog, 0 for none
    std::vector<MenuItem> SystemMenu() const;
    IconId Icon(bool big) const;
    // The main window's click timer: its period while it runs.
    std::optional<unsigned> TimerPeriod(std::uintptr_t id = 1) const;
    std::u16string Caption(WindowId window) const;

    // --- Platform -----------------------------------------------------------------------
    std::u16string ExecutableName() override { return u"kestrin"; }
    bool InitCommonControls(std::uint32_t recordSize, std::uint32_t classes) override;
    WindowId CreateDialogWindow(const platform::DialogTemplate& tmpl, platform::WindowHost& host,
                                WindowId owner) override;
    int RunModal(WindowId dialog) override;
    void EndDialog(WindowId dialog, int result) override;
    void DestroyWindow(WindowId window) override;
    bool IsDialogMessage(WindowId dialog, const Message& msg) override;
    void FocusFirstTabStop(WindowId dialog) override;
    std::intptr_t DefaultProcessing(const Message& msg) override;
    WindowId GetDlgItem(WindowId dialog, int controlId) override;
    std::u16string GetWindowText(WindowId window) override;
    void SetWindowText(WindowId window, std::u16string_view text) override;
    platform::Rect GetWindowRect(WindowId window) override;
    platform::Rect GetClientRect(WindowId window) override;
    Point ScreenToClient(WindowId window, Point screen) override;
    bool IsIconic(WindowId window) override;
    int ComboAddString(WindowId combo, std::u16string_view text) override;
    int ComboGetCurSel(WindowId combo) override;
    int ComboSetCurSel(WindowId combo, int index) override;
    int MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                   unsigned type) override;
    bool SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;
    bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) override;
    bool GetCursorPos(Point& screen) override;
    bool SetCursorPos(Point screen) override;
    void SendMouseBurst(std::span<const std::uint32_t> flags) override;
    CursorId LoadCursor(int resourceId) override;
    CursorId SetCursor(CursorId cursor) override;
    IconId LoadIcon(int resourceId) override;
    void SetIcon(WindowId window, IconId icon, bool big) override;
    int GetSystemMetrics(int index) override;
    platform::PaintId BeginPaint(WindowId window) override;
    void EndPaint(WindowId window, platform::PaintId paint) override;
    void DrawIcon(platform::PaintId paint, int x, int y, IconId icon) override;
    platform::MenuId GetSystemMenu(WindowId window, bool revert) override;
    bool AppendMenu(platform::MenuId menu, unsigned flags, std::uintptr_t id,
                    std::u16string_view text) override;
    void ShellOpen(std::u16string_view address) override;

  private:
    struct Window;
    struct Timer {
        unsigned periodMs;
        std::int64_t dueMs;
    };

    Window* Find(WindowId id);
    const Window* Find(WindowId id) const;
    Window* Dialog(WindowId anyWindow);  // the dialog a window belongs to
    Window* ActiveDialog();
    const Window* MainControl(int controlId) const;
    Window* MainControl(int controlId);
    WindowId ActiveTarget();  // focused control of the active dialog, or the dialog
    void Post(const Message& msg) { m_queue.push_back(msg); }
    // Runs one loop iteration: a queued message, else a script action. False when idle.
    bool Step(bool framework);
    void Deliver(const Message& msg);
    void AdvanceTo(std::int64_t target);

    std::int64_t m_now = 0;
    std::deque<Message> m_queue;
    std::deque<std::function<void()>> m_script;
    std::map<WindowId, Window> m_windows;
    std::uintptr_t m_nextId = 1;
    WindowId m_mainWindow = WindowId::None;
    std::vector<WindowId> m_modalStack;
    std::vector<bool> m_boxAnswered;  // one per open message box, innermost last
    std::map<std::pair<WindowId, std::uintptr_t>, Timer> m_timers;
    std::map<unsigned, std::pair<WindowId, int>> m_hotKeys;  // vk -> window, id
    std::vector<unsigned> m_failingKeys;
    std::vector<std::pair<int, int>> m_removedControls;
    bool m_noSystemMenu = false;
    bool m_pointerUnreadable = false;
    bool m_scriptRanOut = false;
    int m_unexpectedAnswers = 0;
    Point m_pointer{400, 300};
    CursorId m_cursor{wm::ArrowCursor};

    std::vector<MouseBurst> m_bursts;
    std::vector<Point> m_pointerWrites;
    std::vector<MessageBoxRecord> m_boxes;
    std::vector<CursorId> m_cursorChanges;
    std::vector<std::u16string> m_opened;
    std::vector<DrawnIcon> m_drawnIcons;
    int m_iconErases = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_commonControls;
    std::vector<std::pair<unsigned, int>> m_hotKeyRegistrations;
    std::vector<int> m_dialogsShown;
    std::vector<int> m_modalResults;
};

}  // namespace kestrin::sim
