// Window texts, rectangles and the combo boxes' lists.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/group_box.h"
#include "platform/qt/qt_platform.h"

namespace kestrin::qt {
namespace {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Rect ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

WindowId QtPlatform::GetDlgItem(WindowId dialog, int controlId) {
    Dialog* d = FindDialog(dialog);
    if (d == nullptr) return WindowId::None;
    for (const Control& control : d->controls) {
        if (control.tmpl->id == controlId) return control.id;
    }
    return WindowId::None;
}

std::u16string QtPlatform::GetWindowText(WindowId window) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) return {};
    if (FindDialog(window) != nullptr) return widget->windowTitle().toStdU16String();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdU16String();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdU16String();
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text().toStdU16String();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText().toStdU16String();
    const Control* control = FindControl(window);
    return control != nullptr ? std::u16string(control->tmpl->text) : std::u16string();
}

void QtPlatform::SetWindowText(WindowId window, std::u16string_view text) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) return;
    const QString value = ToQString(text);
    if (FindDialog(window) != nullptr) {
        widget->setWindowTitle(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
        const Control* control = FindControl(window);
        Dialog* dialog = DialogOf(window);
        if (control != nullptr && dialog != nullptr && control->tmpl->id >= 0) {
            if (m_input) m_input->PublishControlText(*dialog->window, control->tmpl->id, value);
        }
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(value);
    }
}

Rect QtPlatform::GetWindowRect(WindowId window) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) return {};
    if (FindDialog(window) != nullptr) return ToRect(widget->frameGeometry());
    return ToRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

Rect QtPlatform::GetClientRect(WindowId window) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) return {};
    return {0, 0, widget->width(), widget->height()};
}

Point QtPlatform::ScreenToClient(WindowId window, Point screen) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) return screen;
    const QPoint local = widget->mapFromGlobal(QPoint(screen.x, screen.y));
    return {local.x(), local.y()};
}

bool QtPlatform::IsIconic(WindowId window) {
    QWidget* widget = WidgetOf(window);
    return widget != nullptr && widget->isMinimized();
}

int QtPlatform::ComboAddString(WindowId combo, std::u16string_view text) {
    auto* box = qobject_cast<QComboBox*>(WidgetOf(combo));
    const Control* control = FindControl(combo);
    if (box == nullptr || control == nullptr) return -1;
    int index = box->count();
    if ((control->tmpl->style & platform::style::ComboSort) != 0) {
        // Sorted by UTF-16 code units; an equal text goes after the ones already there.
        index = 0;
        while (index < box->count() && box->itemText(index).toStdU16String() <= text) {
            ++index;
        }
    }
    const int selected = box->currentIndex();
    box->insertItem(index, ToQString(text));
    // Qt selects the first entry of an empty list by itself; a Windows list stays unselected.
    if (selected < 0) box->setCurrentIndex(-1);
    return index;
}

int QtPlatform::ComboGetCurSel(WindowId combo) {
    auto* box = qobject_cast<QComboBox*>(WidgetOf(combo));
    return box != nullptr ? box->currentIndex() : -1;
}

int QtPlatform::ComboSetCurSel(WindowId combo, int index) {
    auto* box = qobject_cast<QComboBox*>(WidgetOf(combo));
    if (box == nullptr) return -1;
    const bool valid = index >= 0 && index < box->count();
    box->setCurrentIndex(valid ? index : -1);
    return valid ? index : -1;
}

}  // namespace kestrin::qt
