#include "platform/qt/dialog_builder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "platform/qt/group_box.h"

namespace kestrin::qt {
namespace {

namespace ws = platform::style;
using platform::ControlKind;

constexpr int kIconSize = 32;  // a static icon control takes its icon's size

// A widget created for `parent`, which owns it from then on.
template <class T, class... Args>
T* MakeChild(QWidget* parent, Args&&... args) {
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    child->setParent(parent);
    return child.release();
}

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::WindowFlags WindowFlagsFor(const platform::DialogTemplate& tmpl) {
    Qt::WindowFlags flags = (tmpl.exStyle & ws::ExAppWindow) != 0 ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((tmpl.style & ws::SysMenu) != 0)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((tmpl.style & ws::MinimizeBox) != 0) flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

QWidget* BuildControl(const platform::ControlTemplate& control, QWidget* dialog, BaseUnits units,
                      const std::function<QIcon(int)>& iconFor) {
    QRect geometry = DialogRectToPixels(control.rect, units);
    const QString text = ToQString(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Edit: {
            auto* edit = MakeChild<QLineEdit>(dialog, text);
            edit->setMaxLength(std::numeric_limits<int>::max());  // any text can be typed
            widget = edit;
            break;
        }
        case ControlKind::Button: {
            auto* button = MakeChild<QPushButton>(dialog, text);
            // Enter is the dialog manager's; a button is pressed by Enter only through it.
            button->setAutoDefault(false);
            button->setDefault((control.style & 0x0F) == ws::ButtonDefault);
            widget = button;
            break;
        }
        case ControlKind::GroupBox:
            widget = MakeChild<GroupBox>(dialog, text);
            break;
        case ControlKind::ComboBox: {
            auto* combo = MakeChild<QComboBox>(dialog);
            widget = combo;
            // A Windows template's height includes the drop-down list; the box itself is
            // one line high.
            geometry.setHeight(units.y + 8);
            break;
        }
        case ControlKind::Static: {
            auto* label = MakeChild<QLabel>(dialog, text);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::StaticIcon: {
            auto* label = MakeChild<QLabel>(dialog);
            label->setPixmap(iconFor(control.iconResource).pixmap(kIconSize, kIconSize));
            widget = label;
            geometry.setSize({kIconSize, kIconSize});
            break;
        }
    }
    widget->setGeometry(geometry);
    const bool statik = control.kind == ControlKind::Static ||
                        control.kind == ControlKind::StaticIcon ||
                        control.kind == ControlKind::GroupBox;
    // Labels take no mouse input: what happens over them reaches the dialog itself.
    if (statik) widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget->setFocusPolicy(statik ? Qt::NoFocus
                                  : (control.tabStop() ? Qt::StrongFocus : Qt::ClickFocus));
    widget->setMouseTracking(true);
    widget->setVisible((control.style & ws::Visible) != 0);
    return widget;
}

}  // namespace

BuiltDialog BuildDialog(const platform::DialogTemplate& tmpl, QWidget* owner,
                        const std::function<QIcon(int)>& iconFor) {
    BuiltDialog built;
    built.window = std::make_unique<DialogWidget>(owner, WindowFlagsFor(tmpl));
    DialogWidget& window = *built.window;
    const QFont font = DialogFont(tmpl.pointSize);
    window.setFont(font);
    built.units = MeasureBaseUnits(font);
    window.setWindowTitle(ToQString(tmpl.caption));
    window.setMouseTracking(true);

    const QRect area = DialogRectToPixels(tmpl.rect, built.units);
    window.setFixedSize(area.size());
    // The template's position is relative to the owner's client area, or the screen.
    const QPoint origin = owner != nullptr ? owner->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    window.move(origin + area.topLeft());

    for (const auto& control : tmpl.controls) {
        built.controls.push_back({&control, BuildControl(control, &window, built.units, iconFor)});
    }
    return built;
}

}  // namespace kestrin::qt
