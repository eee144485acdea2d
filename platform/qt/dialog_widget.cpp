#include "platform/qt/dialog_widget.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace kestrin::qt {

DialogWidget::DialogWidget(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags) {}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The framework decides: the close box is a system command like any other.
    event->ignore();
    if (m_handlers.closeBox) m_handlers.closeBox();
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    // No default button, Esc or arrow handling of Qt's own: IsDialogMessage does that.
    event->ignore();
}

bool DialogWidget::focusNextPrevChild(bool) {
    // Tab moves the focus only through IsDialogMessage, in the template's tab order.
    return false;
}

void DialogWidget::paintEvent(QPaintEvent*) {
    if (m_handlers.paint) m_handlers.paint();
}

}  // namespace kestrin::qt
