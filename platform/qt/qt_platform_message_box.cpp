// Message boxes: modal, OK only, their loop dispatches ticks but pre-translates nothing.
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "platform/qt/dialog_units.h"
#include "platform/qt/qt_platform.h"
#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

constexpr int kMessageFontPoints = 9;

}  // namespace

int QtPlatform::MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                           unsigned) {
    Dialog* ownerDialog = DialogOf(owner);
    // Nothing to tell of a window the user closed before it was up (the registration of its
    // hot keys, withdrawn as it closed, fails): as on Windows, a box whose owner has gone is
    // not shown.
    if (ownerDialog != nullptr && ownerDialog->ended && !ownerDialog->running) return 0;
    QWidget* parent = ownerDialog != nullptr ? ownerDialog->window.get() : nullptr;
    const WindowId ownerId = ownerDialog != nullptr ? ownerDialog->id : WindowId::None;
    const QString message = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf16(caption.data(), static_cast<qsizetype>(caption.size())),
                    message, QMessageBox::Ok, parent);
    box.setFont(DialogFont(kMessageFontPoints));
    if (m_input) m_input->PublishWindowText(box, message);
    // There may be no window manager to give the box the keyboard.
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
    {
        LoopScope loop(m_loops, Loop::MessageBox);
        box.exec();
    }
    // The keyboard goes back to the owner, if it is up.
    if (Dialog* d = FindDialog(ownerId); d != nullptr && d->window->isVisible()) {
        d->window->activateWindow();
    }
    return wm::IdOk;
}

void QtPlatform::ShowStringMessage(int stringId) {
    const std::u16string_view text = m_resources.FindString(stringId);
    if (text.empty()) {
        std::fprintf(stderr, "kestrin: no string %d in the resources\n", stringId);
        return;
    }
    // The first dialog made is the main window.
    const WindowId owner = m_dialogs.empty() ? WindowId::None : m_dialogs.begin()->first;
    MessageBox(owner, text, ExecutableName(), wm::MbOk);
}

}  // namespace kestrin::qt
