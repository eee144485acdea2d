// Kestrin's platform on the Linux desktop: Qt 6 Widgets for the dialogs, a timerfd for the
// ticks, and the display system's input layer (input_layer.h) for the global hot keys, the
// click bursts and the pointer.
//
// Implemented in files by subsystem: qt_platform.cpp (application, window table),
// qt_platform_dialogs.cpp (creation, modal loops, dialog keys), qt_platform_routing.cpp
// (pre-translation and dispatch of every event), qt_platform_controls.cpp,
// qt_platform_message_box.cpp, qt_platform_timers.cpp, qt_platform_input.cpp (hot keys,
// pointer, mouse, cursor), qt_platform_shell.cpp (icons, painting, system menu, shell).
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/click_timer.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/event_router.h"
#include "platform/qt/input_layer.h"
#include "platform/qt/input_translation.h"
#include "platform/qt/kestrin_application.h"
#include "platform/qt/system_menu.h"
#include "platform/resources.h"
#include "platform/tick_pacer.h"

class QEventLoop;
class QPainter;

namespace kestrin::qt {

using platform::CursorId;
using platform::IconId;
using platform::MenuId;
using platform::Message;
using platform::PaintId;
using platform::Point;
using platform::Rect;
using platform::WindowId;

class QtPlatform final : public platform::Platform, private EventRouter {
  public:
    // Routes the application's events from construction to destruction.
    // `portal` is handed on to the input layer: what main() asked the desktop portal.
    QtPlatform(KestrinApplication& app, const platform::Resources& resources,
               wl::PortalProbe& portal);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // Application
    std::u16string ExecutableName() override;
    bool InitCommonControls(std::uint32_t recordSize, std::uint32_t classes) override;

    // Dialogs
    WindowId CreateDialogWindow(const platform::DialogTemplate& tmpl, platform::WindowHost& host,
                                WindowId owner) override;
    int RunModal(WindowId dialog) override;
    void EndDialog(WindowId dialog, int result) override;
    void DestroyWindow(WindowId window) override;
    bool IsDialogMessage(WindowId dialog, const Message& msg) override;
    void FocusFirstTabStop(WindowId dialog) override;
    std::intptr_t DefaultProcessing(const Message& msg) override;

    // Windows and controls
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

    // Message boxes
    int MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                   unsigned type) override;

    // Timer
    bool SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;

    // Hot keys, pointer, mouse, cursor
    bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) override;
    bool GetCursorPos(Point& screen) override;
    bool SetCursorPos(Point screen) override;
    void SendMouseBurst(std::span<const std::uint32_t> flags) override;
    CursorId LoadCursor(int resourceId) override;
    CursorId SetCursor(CursorId cursor) override;

    // Icons and painting
    IconId LoadIcon(int resourceId) override;
    void SetIcon(WindowId window, IconId icon, bool big) override;
    int GetSystemMetrics(int index) override;
    PaintId BeginPaint(WindowId window) override;
    void EndPaint(WindowId window, PaintId paint) override;
    void DrawIcon(PaintId paint, int x, int y, IconId icon) override;

    // System menu, shell
    MenuId GetSystemMenu(WindowId window, bool revert) override;
    bool AppendMenu(MenuId menu, unsigned flags, std::uintptr_t id,
                    std::u16string_view text) override;
    void ShellOpen(std::u16string_view address) override;

  private:
    struct Control {
        WindowId id;
        const platform::ControlTemplate* tmpl;
        QWidget* widget;  // owned by the dialog's window
    };
    struct Dialog {
        WindowId id;
        WindowId owner;
        platform::WindowHost* host;
        // The window owns the controls. Declared before the menu so the menu goes first.
        std::unique_ptr<DialogWidget> window;
        std::vector<Control> controls;
        std::unique_ptr<SystemMenu> systemMenu;  // nullptr without the SysMenu style
        int defaultButton = 1;                   // the template's default push button
        bool running = false;
        bool ended = false;
        int result = 0;
        CursorId cursor = CursorId::None;  // set over this dialog by SetCursor
    };
    struct Tick {
        std::unique_ptr<ClickTimer> timer;
        platform::TickPacer pacer{1};  // new with every SetTimer
        std::uint64_t serial = 0;      // new with every SetTimer
        bool queued = false;           // a tick of this serial is in the queue
    };
    enum class Loop { Framework, MessageBox };
    // Pushes a loop on the stack of running loops for its lifetime.
    class LoopScope {
      public:
        LoopScope(std::vector<Loop>& loops, Loop loop) : m_loops(loops) { m_loops.push_back(loop); }
        ~LoopScope() { m_loops.pop_back(); }
        LoopScope(const LoopScope&) = delete;
        LoopScope& operator=(const LoopScope&) = delete;

      private:
        std::vector<Loop>& m_loops;
    };

    // EventRouter
    bool Route(QObject* receiver, QEvent* event) override;
    bool RouteQueued(Dialog& dialog, QEvent* event);
    bool RouteInput(QWidget* receiver, QEvent* event);
    // Pre-translates when the innermost loop is a framework loop; true when consumed.
    bool PreTranslate(Dialog& dialog, Message& msg);
    // The user's input while the desktop waits on the user for a window's hot keys.
    bool RouteWhileAwaiting(QWidget* receiver, QEvent* event);

    // Waits for the desktop's answer to the user while a window registers its hot keys (see
    // InputLayer::AwaitUser): the window shows and paints meanwhile and closes with its close
    // box or Esc, which withdraws the question; the rest of its input waits for the answer.
    void AwaitUser(QEventLoop& wait, const std::function<void()>& withdraw);

    // Window table
    WindowId NewId() { return static_cast<WindowId>(m_nextId++); }
    Dialog* FindDialog(WindowId dialog);
    Dialog* DialogOf(WindowId window);  // the dialog of a dialog or control id
    QWidget* WidgetOf(WindowId window);
    const Control* FindControl(WindowId window);
    // The dialog or control a widget belongs to, walking up from it.
    bool Resolve(QWidget* widget, Dialog*& dialog, WindowId& window, QWidget*& windowWidget);
    bool Alive(WindowId dialog) { return FindDialog(dialog) != nullptr; }

    // An icon or cursor of the resources, made once and kept; None when there is none.
    template <typename Id, typename Made>
    Id LoadArtwork(int resourceId, platform::ArtworkResource::Kind kind, std::map<Id, Made>& made,
                   Made (*make)(const platform::ArtworkResource&)) {
        const auto* art = m_resources.FindArtwork(resourceId, kind);
        if (art == nullptr) return Id::None;
        const auto id = static_cast<Id>(static_cast<std::uintptr_t>(resourceId));
        if (!made.contains(id)) made.emplace(id, make(*art));
        return id;
    }

    void OnTick(WindowId window, std::uintptr_t id, std::uint64_t periods);
    // Queues the timer's next tick if its pacer hands one out and none is queued.
    void QueueTick(WindowId window, std::uintptr_t id, Tick& tick);
    // A message box with a text of the program's string table, owned by the main window,
    // captioned as the program's own message boxes.
    void ShowStringMessage(int stringId);
    void OnPaintEvent(Dialog& dialog);
    void ShowSystemMenu(Dialog& dialog, QPoint screen);
    void MoveFocus(Dialog& dialog, bool forward);
    void FocusControl(const Control& control);
    void ApplyCursor(Dialog& dialog, CursorId cursor);

    KestrinApplication& m_app;
    const platform::Resources& m_resources;
    std::uintptr_t m_nextId = 1;
    std::map<WindowId, std::unique_ptr<Dialog>> m_dialogs;
    std::vector<Loop> m_loops;
    std::map<std::pair<WindowId, std::uintptr_t>, Tick> m_ticks;
    std::uint64_t m_tickSerials = 0;
    std::unique_ptr<InputLayer> m_input;  // nullptr: no clicks, no hot keys
    std::map<IconId, QIcon> m_icons;
    std::map<CursorId, QCursor> m_cursors;
    WindowId m_mouseDialog = WindowId::None;  // dialog of the mouse message being handled
    WindowId m_registering = WindowId::None;  // the window whose hot keys are being registered
    // While the desktop waits on the user for m_registering's hot keys: that window, and how
    // to withdraw the question.
    struct Awaiting {
        WindowId window;
        const std::function<void()>* withdraw;
    };
    std::optional<Awaiting> m_awaiting;
    struct Painting {
        WindowId dialog = WindowId::None;
        std::unique_ptr<QPainter> painter;
    };
    Painting m_painting;  // while a dialog's paint event runs
};

}  // namespace kestrin::qt
