#include "platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include "platform/qt/queued_message.h"
#include "platform/window_values.h"

namespace kestrin::qt {

QtPlatform::QtPlatform(KestrinApplication& app, const platform::Resources& resources,
                       wl::PortalProbe& portal)
    : m_app(app), m_resources(resources) {
    m_input = CreateInputLayer(
        app, portal,
        [this](WindowId window, int id) {
            if (QWidget* widget = WidgetOf(window)) {
                PostQueuedMessage(widget, wm::HotKey, static_cast<std::uintptr_t>(id));
            }
        },
        [this](int stringId) { ShowStringMessage(stringId); },
        [this](QEventLoop& wait, const std::function<void()>& withdraw) {
            AwaitUser(wait, withdraw);
        });
    m_app.SetRouter(this);
}

QtPlatform::~QtPlatform() {
    m_app.SetRouter(nullptr);
    // Owned windows before their owners, then the hot keys and timers they held.
    while (!m_dialogs.empty()) DestroyWindow(std::prev(m_dialogs.end())->first);
}

std::u16string QtPlatform::ExecutableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdU16String();
}

bool QtPlatform::InitCommonControls(std::uint32_t, std::uint32_t) {
    // Qt's widgets need no registration.
    return true;
}

QtPlatform::Dialog* QtPlatform::FindDialog(WindowId dialog) {
    const auto it = m_dialogs.find(dialog);
    return it == m_dialogs.end() ? nullptr : it->second.get();
}

QtPlatform::Dialog* QtPlatform::DialogOf(WindowId window) {
    if (Dialog* dialog = FindDialog(window)) return dialog;
    for (auto& [id, dialog] : m_dialogs) {
        for (const Control& control : dialog->controls) {
            if (control.id == window) return dialog.get();
        }
    }
    return nullptr;
}

const QtPlatform::Control* QtPlatform::FindControl(WindowId window) {
    Dialog* dialog = DialogOf(window);
    if (dialog == nullptr) return nullptr;
    for (const Control& control : dialog->controls) {
        if (control.id == window) return &control;
    }
    return nullptr;
}

QWidget* QtPlatform::WidgetOf(WindowId window) {
    if (Dialog* dialog = FindDialog(window)) return dialog->window.get();
    const Control* control = FindControl(window);
    return control != nullptr ? control->widget : nullptr;
}

bool QtPlatform::Resolve(QWidget* widget, Dialog*& dialog, WindowId& window,
                         QWidget*& windowWidget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const bool ownWindow = w->isWindow() && w->windowType() != Qt::Popup;
        for (auto& [id, d] : m_dialogs) {
            if (d->window.get() == w) {
                dialog = d.get();
                window = id;
                windowWidget = w;
                return true;
            }
            for (const Control& control : d->controls) {
                if (control.widget == w) {
                    dialog = d.get();
                    window = control.id;
                    windowWidget = w;
                    return true;
                }
            }
        }
        // A window of its own (a message box) is not part of the dialog that owns it; a
        // control's popup (a drop-down list) is part of its control.
        if (ownWindow) return false;
    }
    return false;
}

}  // namespace kestrin::qt
