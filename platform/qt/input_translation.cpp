#include "platform/qt/input_translation.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>

#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

unsigned MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    unsigned flags = 0;
    if (buttons & Qt::LeftButton) flags |= wm::MkLButton;
    if (buttons & Qt::RightButton) flags |= wm::MkRButton;
    if (buttons & Qt::MiddleButton) flags |= wm::MkMButton;
    if (modifiers & Qt::ShiftModifier) flags |= wm::MkShift;
    if (modifiers & Qt::ControlModifier) flags |= wm::MkControl;
    return flags;
}

unsigned ButtonMessage(Qt::MouseButton button, bool down) {
    switch (button) {
        case Qt::LeftButton:
            return down ? wm::LButtonDown : wm::LButtonUp;
        case Qt::RightButton:
            return down ? wm::RButtonDown : wm::RButtonUp;
        case Qt::MiddleButton:
            return down ? wm::MButtonDown : wm::MButtonUp;
        default:
            return 0;
    }
}

void AppendCharacters(std::vector<InputMessage>& out, const QString& text, unsigned message) {
    for (const QChar c : text) out.push_back({message, c.unicode(), 0, false});
}

}  // namespace

unsigned VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<unsigned>(key);  // 'A'..'Z'
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<unsigned>(key);  // '0'..'9'
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70u + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return wm::VkTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return wm::VkReturn;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Pause:
            return 0x13;
        case Qt::Key_CapsLock:
            return 0x14;
        case Qt::Key_Escape:
            return wm::VkEscape;
        case Qt::Key_Space:
            return wm::VkSpace;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        case Qt::Key_Meta:
            return 0x5B;
        case Qt::Key_NumLock:
            return 0x90;
        case Qt::Key_ScrollLock:
            return 0x91;
        case Qt::Key_Plus:
            return 0xBB;
        case Qt::Key_Comma:
            return 0xBC;
        case Qt::Key_Minus:
            return 0xBD;
        case Qt::Key_Period:
            return 0xBE;
        default:
            return 0;
    }
}

std::vector<InputMessage> TranslateInput(const QEvent& event, QPoint position) {
    std::vector<InputMessage> out;
    switch (event.type()) {
        case QEvent::KeyPress: {
            const auto& key = static_cast<const QKeyEvent&>(event);
            const bool alt = (key.modifiers() & Qt::AltModifier) != 0;
            out.push_back({alt ? wm::SysKeyDown : wm::KeyDown, VirtualKeyOf(key), 0, false});
            AppendCharacters(out, key.text(), alt ? wm::SysChar : wm::Char);
            break;
        }
        case QEvent::KeyRelease: {
            const auto& key = static_cast<const QKeyEvent&>(event);
            const bool alt = (key.modifiers() & Qt::AltModifier) != 0;
            out.push_back({alt ? wm::SysKeyUp : wm::KeyUp, VirtualKeyOf(key), 0, false});
            break;
        }
        case QEvent::InputMethod:
            AppendCharacters(out, static_cast<const QInputMethodEvent&>(event).commitString(),
                             wm::Char);
            break;
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const auto& mouse = static_cast<const QMouseEvent&>(event);
            const unsigned message =
                event.type() == QEvent::MouseMove
                    ? wm::MouseMove
                    : ButtonMessage(mouse.button(), event.type() != QEvent::MouseButtonRelease);
            if (message != 0) {
                out.push_back({message, MouseKeyFlags(mouse.buttons(), mouse.modifiers()),
                               PackPoint(position), true});
            }
            break;
        }
        default:
            break;
    }
    return out;
}

std::intptr_t PackPoint(QPoint point) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(point.y() & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(point.x() & 0xFFFF));
}

}  // namespace kestrin::qt
