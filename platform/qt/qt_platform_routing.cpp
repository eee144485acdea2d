// Every event on its way to our windows: the framework's pre-translation, then dispatch.
//
// Queued messages (ticks, hot keys, system commands) and input (keys, characters, mouse) for
// a dialog or one of its controls are shown to the dialog's host first, but only while the
// innermost running loop is one of the framework's own; a message box's loop pre-translates
// nothing. Then messages for the dialog window itself go to the framework's handlers, and
// input for a control takes the control's own Qt behaviour.
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/qt_platform.h"
#include "platform/qt/queued_message.h"
#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

constexpr CursorId kArrowCursor{wm::ArrowCursor};

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            return true;
        default:
            return false;
    }
}

bool IsMouse(QEvent::Type type) {
    return type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease;
}

}  // namespace

bool QtPlatform::Route(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    // (Input reaches a window's widgets through its QWindow, which passes it on.)
    if (m_awaiting && (event->isInputEvent() || type == QEvent::Shortcut) &&
        receiver->isWidgetType()) {
        return RouteWhileAwaiting(static_cast<QWidget*>(receiver), event);
    }
    const bool queued = type == QueuedMessageEvent::EventType();
    if ((!queued && !IsInput(type)) || !receiver->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (queued) {
        Dialog* dialog = nullptr;
        WindowId window = WindowId::None;
        QWidget* windowWidget = nullptr;
        // A message for a window that has gone is dropped.
        if (!Resolve(widget, dialog, window, windowWidget) || window != dialog->id) return true;
        return RouteQueued(*dialog, event);
    }
    return RouteInput(widget, event);
}

bool QtPlatform::PreTranslate(Dialog& dialog, Message& msg) {
    if (m_loops.empty() || m_loops.back() != Loop::Framework) return false;
    return dialog.host->PreTranslate(msg);
}

bool QtPlatform::RouteWhileAwaiting(QWidget* receiver, QEvent* event) {
    // The window is not set up yet: of the user's input it takes only Esc, which cancels it
    // as it always does (its close box works through the window system). The rest is dropped.
    Dialog* dialog = nullptr;
    WindowId window = WindowId::None;
    QWidget* windowWidget = nullptr;
    if (event->type() == QEvent::KeyPress &&
        static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        Resolve(receiver, dialog, window, windowWidget) && dialog->id == m_awaiting->window) {
        dialog->host->Dispatch(
            {dialog->id, wm::Command, static_cast<std::uintptr_t>(wm::IdCancel), 0});
    }
    return true;
}

bool QtPlatform::RouteQueued(Dialog& dialog, QEvent* event) {
    const auto& queued = static_cast<const QueuedMessageEvent&>(*event);
    Message msg{dialog.id, queued.Message(), queued.WParam(), queued.LParam()};
    if (msg.message == wm::Timer) {
        const auto tick = m_ticks.find({dialog.id, msg.wParam});
        // Killed or set again since this tick was queued: it is not delivered.
        if (tick == m_ticks.end() || tick->second.serial != queued.TickSerial()) return true;
        // Taken from the queue: the next tick owed may be queued, behind what waits there.
        tick->second.queued = false;
        QueueTick(dialog.id, msg.wParam, tick->second);
    }
    const WindowId id = dialog.id;
    if (PreTranslate(dialog, msg)) return true;
    if (Dialog* d = FindDialog(id)) d->host->Dispatch(msg);
    return true;
}

bool QtPlatform::RouteInput(QWidget* receiver, QEvent* event) {
    Dialog* dialog = nullptr;
    WindowId window = WindowId::None;
    QWidget* windowWidget = nullptr;
    if (!Resolve(receiver, dialog, window, windowWidget)) return false;

    const bool mouse = IsMouse(event->type());
    QPoint position;
    if (mouse) {
        const auto* mouseEvent = static_cast<const QMouseEvent*>(event);
        position = windowWidget->mapFromGlobal(mouseEvent->globalPosition().toPoint());
    }
    const std::vector<InputMessage> messages = TranslateInput(*event, position);
    if (messages.empty()) return false;

    const WindowId dialogId = dialog->id;
    if (mouse) m_mouseDialog = dialogId;
    for (const InputMessage& input : messages) {
        Message msg{window, input.message, input.wParam, input.lParam};
        if (PreTranslate(*dialog, msg)) return true;
        dialog = FindDialog(dialogId);
        if (dialog == nullptr) return true;
    }

    if (window == dialogId) {
        // For the dialog itself (its background and labels): the framework's handlers.
        for (const InputMessage& input : messages) {
            // Windows shows the window's own cursor at every move unless a handler sets one.
            if (input.message == wm::MouseMove) ApplyCursor(*dialog, kArrowCursor);
            m_mouseDialog = dialogId;
            dialog->host->Dispatch({window, input.message, input.wParam, input.lParam});
            dialog = FindDialog(dialogId);
            if (dialog == nullptr) return true;
        }
        return true;
    }
    // Alt+Space in a control opens the dialog's system menu, as the control passes it on.
    for (const InputMessage& input : messages) {
        if (input.message == wm::SysChar && input.wParam == u' ') {
            ShowSystemMenu(*dialog, dialog->window->mapToGlobal(QPoint(0, 0)));
            return true;
        }
    }
    return false;  // the control's own behaviour
}

}  // namespace kestrin::qt
