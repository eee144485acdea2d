// Everything a backend must provide, in one list.
//
// The framework in platform/framework (CWnd, CDialog, AfxMessageBox, ...) is written once
// against this interface; a backend (qt/, win32/, sim/) implements it. To add a backend,
// derive from Platform, fill in every function below, and give the backend an entry point
// that calls RunApplication() (platform/framework/afxwin.h).
//
// This header includes no platform header and defines no Windows-style names, so a backend
// may include it next to <windows.h> or Qt.
//
// Message numbers, flags and command identifiers passed through here carry their Windows
// values (WM_TIMER is 0x0113 everywhere); see platform/framework/afxdefs.h for the names.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/dialog_template.h"

namespace kestrin::platform {

// Opaque handles. Zero means "none". A backend chooses what the number stands for.
enum class WindowId : std::uintptr_t { None = 0 };
enum class IconId : std::uintptr_t { None = 0 };
enum class CursorId : std::uintptr_t { None = 0 };
enum class MenuId : std::uintptr_t { None = 0 };
enum class PaintId : std::uintptr_t { None = 0 };

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A queued or sent window message.
struct Message {
    WindowId hwnd = WindowId::None;  // the window it is for: a dialog or one of its controls
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// The framework's side of a dialog window, called by the backend.
class WindowHost {
  public:
    // Called by the framework's own modal loops (RunModal), never by a message box's loop,
    // for every queued message for this dialog or one of its controls, before dispatch.
    // Returns true when the message was consumed and must not be dispatched.
    virtual bool PreTranslate(Message& msg) = 0;
    // Dispatches a message aimed at the dialog window itself (not at a control).
    virtual std::intptr_t Dispatch(const Message& msg) = 0;

  protected:
    ~WindowHost() = default;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // --- Application --------------------------------------------------------------------
    // The executable's file name without directory and extension.
    virtual std::u16string ExecutableName() = 0;
    // InitCommonControlsEx with the record size and class set given.
    virtual bool InitCommonControls(std::uint32_t recordSize, std::uint32_t classes) = 0;

    // --- Dialogs ------------------------------------------------------------------------
    // Creates the dialog and its controls from the template, hidden, without list entries.
    // Returns None on failure.
    virtual WindowId CreateDialogWindow(const DialogTemplate& tmpl, WindowHost& host,
                                        WindowId owner) = 0;
    // Shows the dialog, disables its owner, and runs the framework's modal loop until
    // EndDialog (at once if EndDialog came first); pre-translates as WindowHost says.
    // Re-enables the owner before it returns.
    virtual int RunModal(WindowId dialog) = 0;
    // Makes RunModal return `result` once the current message has been handled.
    virtual void EndDialog(WindowId dialog, int result) = 0;
    // Destroys the window with its controls, timers and hot keys.
    virtual void DestroyWindow(WindowId window) = 0;
    // Dialog keyboard navigation (Enter presses the default button, Esc cancels, Tab moves
    // the focus). Returns true when the message was such a key for this dialog or one of its
    // controls and has been handled; false for anything else, other windows' messages too.
    virtual bool IsDialogMessage(WindowId dialog, const Message& msg) = 0;
    // Puts the keyboard focus on the dialog's first tab stop.
    virtual void FocusFirstTabStop(WindowId dialog) = 0;
    // The platform's default processing for a message of the dialog window.
    virtual std::intptr_t DefaultProcessing(const Message& msg) = 0;

    // --- Windows and controls -----------------------------------------------------------
    virtual WindowId GetDlgItem(WindowId dialog, int controlId) = 0;
    virtual std::u16string GetWindowText(WindowId window) = 0;
    virtual void SetWindowText(WindowId window, std::u16string_view text) = 0;
    virtual Rect GetWindowRect(WindowId window) = 0;  // screen pixels
    virtual Rect GetClientRect(WindowId window) = 0;  // left = top = 0
    virtual Point ScreenToClient(WindowId window, Point screen) = 0;
    virtual bool IsIconic(WindowId window) = 0;
    // Combo boxes. AddString keeps a sorted list sorted; it returns the new entry's index.
    virtual int ComboAddString(WindowId combo, std::u16string_view text) = 0;
    virtual int ComboGetCurSel(WindowId combo) = 0;  // -1 when nothing is selected
    virtual int ComboSetCurSel(WindowId combo, int index) = 0;

    // --- Message boxes ------------------------------------------------------------------
    // Modal; its own loop dispatches timer ticks but pre-translates nothing, so a hot key
    // pressed meanwhile reaches no handler. Returns the button pressed (IDOK for type 0).
    virtual int MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                           unsigned type) = 0;

    // --- Timer --------------------------------------------------------------------------
    // Posts WM_TIMER (wParam = id) to the window every `periodMs`. Setting an identifier that
    // runs replaces it, the period counting from now, with nothing owed. A late tick makes up
    // the periods it missed only as tick_pacer.h says: within a few milliseconds, spread out.
    virtual bool SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) = 0;
    virtual bool KillTimer(WindowId window, std::uintptr_t id) = 0;

    // --- Hot keys -----------------------------------------------------------------------
    // System-wide; posts WM_HOTKEY (wParam = id) to the window whatever has the focus.
    // Fails, synchronously, when another program holds the key.
    virtual bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) = 0;

    // --- Pointer and mouse --------------------------------------------------------------
    virtual bool GetCursorPos(Point& screen) = 0;
    virtual bool SetCursorPos(Point screen) = 0;
    // Sends mouse-button events (MOUSEEVENTF_* flags, no movement) at the pointer, all of
    // them as one unit: no stop, exit or crash leaves a button of the burst held down.
    virtual void SendMouseBurst(std::span<const std::uint32_t> flags) = 0;
    virtual CursorId LoadCursor(int resourceId) = 0;
    // Makes the cursor current over our windows; returns the previous one.
    virtual CursorId SetCursor(CursorId cursor) = 0;

    // --- Icons and painting -------------------------------------------------------------
    virtual IconId LoadIcon(int resourceId) = 0;
    virtual void SetIcon(WindowId window, IconId icon, bool big) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    virtual PaintId BeginPaint(WindowId window) = 0;
    virtual void EndPaint(WindowId window, PaintId paint) = 0;
    virtual void DrawIcon(PaintId paint, int x, int y, IconId icon) = 0;

    // --- System menu --------------------------------------------------------------------
    // The window's system menu, None when it has none.
    virtual MenuId GetSystemMenu(WindowId window, bool revert) = 0;
    virtual bool AppendMenu(MenuId menu, unsigned flags, std::uintptr_t id,
                            std::u16string_view text) = 0;

    // --- Shell --------------------------------------------------------------------------
    // Opens the address with the user's default handler, never through a command shell.
    virtual void ShellOpen(std::u16string_view address) = 0;
};

}  // namespace kestrin::platform
