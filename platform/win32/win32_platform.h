// The Windows backend: the framework's platform operations over USER32, SHELL32 and COMCTL32.
//
// Implemented in one file per subsystem:
//   win32_dialogs.cpp      dialogs from res/ templates, the modal loop, keyboard navigation
//   win32_controls.cpp     control texts, rectangles, combo boxes
//   win32_message_box.cpp  message boxes
//   win32_timers.cpp       the click timer (see click_timers.h)
//   win32_input.cpp        hot keys, the pointer, mouse-button bursts
//   win32_resources.cpp    icons, cursors, painting, the system menu
//   win32_shell.cpp        executable name, common controls, opening addresses
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/click_timers.h"
#include "platform/win32/dialog_class.h"
#include "platform/win32/handles.h"

namespace kestrin::win32 {

using platform::CursorId;
using platform::IconId;
using platform::MenuId;
using platform::Message;
using platform::PaintId;
using platform::Point;
using platform::Rect;
using platform::WindowId;

class Win32Platform final : public platform::Platform, private DialogMessageSink {
  public:
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // Application.
    std::u16string ExecutableName() override;
    bool InitCommonControls(std::uint32_t recordSize, std::uint32_t classes) override;

    // Dialogs.
    WindowId CreateDialogWindow(const platform::DialogTemplate& tmpl, platform::WindowHost& host,
                                WindowId owner) override;
    int RunModal(WindowId dialog) override;
    void EndDialog(WindowId dialog, int result) override;
    void DestroyWindow(WindowId window) override;
    bool IsDialogMessage(WindowId dialog, const Message& msg) override;
    void FocusFirstTabStop(WindowId dialog) override;
    std::intptr_t DefaultProcessing(const Message& msg) override;

    // Windows and controls.
    WindowId GetDlgItem(WindowId dialog, int controlId) override;
    std::u16string GetWindowText(WindowId window) override;
    void SetWindowText(WindowId window, std::u16string_view text) override;
    Rect GetWindowRect(WindowId window) override;
    Rect GetClientRect(WindowId window) override;
    Point ScreenToClient(WindowId window, Point screen) override;
    bool IsIconic(WindowId window) override;
    int ComboAddString(WindowId combo, std::u16string_view text) override;
    int ComboGetCurSel(WindowId combo) override;
    int ComboSetCurSel(WindowId combo, int index) override;

    // Message boxes.
    int MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                   unsigned type) override;

    // Timer.
    bool SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;

    // Hot keys, pointer and mouse.
    bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) override;
    bool GetCursorPos(Point& screen) override;
    bool SetCursorPos(Point screen) override;
    void SendMouseBurst(std::span<const std::uint32_t> flags) override;
    CursorId LoadCursor(int resourceId) override;
    CursorId SetCursor(CursorId cursor) override;

    // Icons and painting.
    IconId LoadIcon(int resourceId) override;
    void SetIcon(WindowId window, IconId icon, bool big) override;
    int GetSystemMetrics(int index) override;
    PaintId BeginPaint(WindowId window) override;
    void EndPaint(WindowId window, PaintId paint) override;
    void DrawIcon(PaintId paint, int x, int y, IconId icon) override;

    // System menu.
    MenuId GetSystemMenu(WindowId window, bool revert) override;
    bool AppendMenu(MenuId menu, unsigned flags, std::uintptr_t id,
                    std::u16string_view text) override;

    // Shell.
    void ShellOpen(std::u16string_view address) override;

  private:
    struct Dialog {
        UniqueWindow window;
        platform::WindowHost* host = nullptr;
        bool ended = false;
        int result = 0;
        HWND focusOnShow = nullptr;  // the control FocusFirstTabStop chose
        std::vector<int> hotKeys;
        std::map<int, HWND> items;  // controls found by GetDlgItem, by identifier
    };

    // DialogMessageSink: a message for one of our dialogs, from any loop.
    LRESULT OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

    Dialog* FindDialog(HWND window);
    // The dialog of ours that the window is or belongs to (a control, or an owned window).
    Dialog* DialogOf(HWND window);
    // One message retrieved by the modal loop: pre-translated by its dialog, then dispatched.
    void HandleQueuedMessage(MSG& msg);
    void ApplyFocus(HWND dialog, HWND control);

    HINSTANCE m_instance;
    DialogClass m_dialogClass;
    ClickTimers m_timers;
    std::map<HWND, std::unique_ptr<Dialog>> m_dialogs;
    std::map<HDC, PAINTSTRUCT> m_paints;
};

}  // namespace kestrin::win32
