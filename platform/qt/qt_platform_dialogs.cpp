// Dialogs: creation from templates, the framework's modal loop, the dialog manager's keys.
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/artwork.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/queued_message.h"
#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

namespace ws = platform::style;

// Gives a window that has just been shown the keyboard focus (there may be no window
// manager to do it).
void ActivateWhenShown(QWidget* window) {
    QTimer::singleShot(0, window, [window] {
        window->raise();
        window->activateWindow();
    });
}

}  // namespace

WindowId QtPlatform::CreateDialogWindow(const platform::DialogTemplate& tmpl,
                                        platform::WindowHost& host, WindowId owner) {
    Dialog* ownerDialog = FindDialog(owner);
    BuiltDialog built = BuildDialog(
        tmpl, ownerDialog != nullptr ? ownerDialog->window.get() : nullptr, [this](int resourceId) {
            const IconId icon = LoadIcon(resourceId);
            return m_icons[icon];
        });
    auto dialog = std::make_unique<Dialog>();
    dialog->id = NewId();
    dialog->owner = ownerDialog != nullptr ? owner : WindowId::None;
    dialog->host = &host;
    dialog->window = std::move(built.window);
    for (const BuiltControl& control : built.controls) {
        const WindowId id = NewId();
        dialog->controls.push_back({id, control.tmpl, control.widget});
        if (control.tmpl->kind == platform::ControlKind::Button) {
            if ((control.tmpl->style & 0x0F) == ws::ButtonDefault) {
                dialog->defaultButton = control.tmpl->id;
            }
            // A button click is a command to its dialog, sent at once as on Windows.
            auto* button = static_cast<QPushButton*>(control.widget);
            const WindowId dialogId = dialog->id;
            const auto command = static_cast<std::uintptr_t>(control.tmpl->id);
            QObject::connect(button, &QPushButton::clicked, button, [this, dialogId, command] {
                if (Dialog* d = FindDialog(dialogId))
                    d->host->Dispatch({dialogId, wm::Command, command, 0});
            });
        }
    }
    if ((tmpl.style & ws::SysMenu) != 0) {
        const WindowId dialogId = dialog->id;
        dialog->systemMenu = std::make_unique<SystemMenu>(
            (tmpl.style & ws::MinimizeBox) != 0, [this, dialogId](std::uintptr_t command) {
                // Chosen commands are queued, so they are pre-translated like any message.
                if (QWidget* w = WidgetOf(dialogId)) PostQueuedMessage(w, wm::SysCommand, command);
            });
    }
    const WindowId id = dialog->id;
    dialog->window->SetHandlers({
        .closeBox =
            [this, id] {
                if (Dialog* d = FindDialog(id))
                    d->host->Dispatch({id, wm::SysCommand, wm::ScClose, 0});
            },
        .paint =
            [this, id] {
                if (Dialog* d = FindDialog(id)) OnPaintEvent(*d);
            },
    });
    m_dialogs.emplace(id, std::move(dialog));
    return id;
}

int QtPlatform::RunModal(WindowId id) {
    Dialog* dialog = FindDialog(id);
    if (dialog == nullptr) return -1;
    if (!dialog->ended) {
        dialog->running = true;
        DialogWidget* window = dialog->window.get();
        ActivateWhenShown(window);
        {
            // exec() without a prior show(): Qt then registers the window as modal, which
            // keeps input away from its owner for as long as it runs.
            LoopScope loop(m_loops, Loop::Framework);
            window->exec();
        }
        dialog = FindDialog(id);
        if (dialog == nullptr) return -1;
        dialog->running = false;
        // Give the focus back to the owner, as Windows does when a modal dialog ends.
        if (Dialog* owner = FindDialog(dialog->owner)) ActivateWhenShown(owner->window.get());
    }
    return dialog->result;
}

void QtPlatform::EndDialog(WindowId id, int result) {
    Dialog* dialog = FindDialog(id);
    if (dialog == nullptr) return;
    dialog->ended = true;
    dialog->result = result;
    // done() hides the window and ends exec() once the current event has been handled.
    if (dialog->running) {
        dialog->window->done(result);
    } else if (m_awaiting && m_awaiting->window == id) {
        // Closed while the desktop waited on the user for its hot keys: it leaves the screen,
        // and the question is withdrawn.
        dialog->window->hide();
        (*m_awaiting->withdraw)();
    }
}

void QtPlatform::DestroyWindow(WindowId id) {
    if (FindDialog(id) == nullptr) return;
    // Owned windows go first, as on Windows.
    for (bool found = true; found;) {
        found = false;
        for (const auto& [other, dialog] : m_dialogs) {
            if (dialog->owner == id) {
                DestroyWindow(other);
                found = true;
                break;
            }
        }
    }
    std::erase_if(m_ticks, [id](const auto& tick) { return tick.first.first == id; });
    if (m_input) m_input->ReleaseHotKeys(id);
    if (m_mouseDialog == id) m_mouseDialog = WindowId::None;
    // Removing the entry first keeps the table consistent while the window is deleted.
    auto node = m_dialogs.extract(id);
    node.mapped()->window->hide();
}

bool QtPlatform::IsDialogMessage(WindowId id, const Message& msg) {
    Dialog* dialog = FindDialog(id);
    if (dialog == nullptr || DialogOf(msg.hwnd) != dialog || msg.message != wm::KeyDown)
        return false;
    // An open drop-down list or menu keeps its keys.
    if (QApplication::activePopupWidget() != nullptr) return false;
    switch (msg.wParam) {
        case wm::VkReturn: {
            // The focused push button, else the default one.
            int command = dialog->defaultButton;
            const Control* focused = FindControl(msg.hwnd);
            if (focused != nullptr && focused->tmpl->kind == platform::ControlKind::Button) {
                command = focused->tmpl->id;
            }
            dialog->host->Dispatch({id, wm::Command, static_cast<std::uintptr_t>(command), 0});
            return true;
        }
        case wm::VkEscape:
            dialog->host->Dispatch({id, wm::Command, static_cast<std::uintptr_t>(wm::IdCancel), 0});
            return true;
        case wm::VkTab:
            MoveFocus(*dialog, !(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier));
            return true;
        default:
            return false;
    }
}

void QtPlatform::MoveFocus(Dialog& dialog, bool forward) {
    std::vector<const Control*> stops;
    for (const Control& control : dialog.controls) {
        if (control.tmpl->tabStop() && control.widget->isVisible() && control.widget->isEnabled()) {
            stops.push_back(&control);
        }
    }
    if (stops.empty()) return;
    QWidget* focus = dialog.window->focusWidget();
    std::size_t at = stops.size();
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (stops[i]->widget == focus) at = i;
    }
    std::size_t next = 0;
    if (at == stops.size()) {
        next = forward ? 0 : stops.size() - 1;
    } else {
        next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    FocusControl(*stops[next]);
}

void QtPlatform::FocusControl(const Control& control) {
    control.widget->setFocus(Qt::TabFocusReason);
    // Tabbing into an edit selects its text.
    if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) edit->selectAll();
}

void QtPlatform::FocusFirstTabStop(WindowId id) {
    Dialog* dialog = FindDialog(id);
    if (dialog == nullptr) return;
    for (const Control& control : dialog->controls) {
        if (control.tmpl->tabStop()) {
            FocusControl(control);
            return;
        }
    }
}

std::intptr_t QtPlatform::DefaultProcessing(const Message& msg) {
    Dialog* dialog = FindDialog(msg.hwnd);
    if (dialog == nullptr) return 0;
    switch (msg.message) {
        case wm::SysCommand:
            if ((msg.wParam & 0xFFF0) == wm::ScMinimize) dialog->window->showMinimized();
            return 0;
        case wm::RButtonUp:
            // Our stand-in for the title bar's menu: a right click on the background.
            ShowSystemMenu(*dialog, QCursor::pos());
            return 0;
        case wm::SysChar:
            if (msg.wParam == u' ')
                ShowSystemMenu(*dialog, dialog->window->mapToGlobal(QPoint(0, 0)));
            return 0;
        case wm::IconEraseBackground:
            if (m_painting.dialog == msg.hwnd && m_painting.painter) {
                m_painting.painter->fillRect(dialog->window->rect(),
                                             dialog->window->palette().window());
            }
            return 1;
        default:
            return 0;
    }
}

void QtPlatform::ShowSystemMenu(Dialog& dialog, QPoint screen) {
    if (dialog.systemMenu && !dialog.systemMenu->IsOpen()) dialog.systemMenu->Popup(screen);
}

}  // namespace kestrin::qt
