// Qt input events as the Windows messages the framework expects.
#pragma once

#include <QPoint>
#include <cstdint>
#include <vector>

class QEvent;
class QKeyEvent;
class QMouseEvent;

namespace kestrin::qt {

// A message before it is addressed: the window is filled in by whoever knows it.
struct InputMessage {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    bool mouse = false;
};

// The Windows virtual key of a Qt key event; 0 when there is none.
unsigned VirtualKeyOf(const QKeyEvent& event);

// The messages an input event stands for, in their queue order: a key press is a key-down
// then the characters it types (WM_SYSKEYDOWN / WM_SYSCHAR with Alt); a release a key-up;
// mouse events a move or a button message whose lParam holds `position` (client pixels of
// the window the message is for). Empty for events that are not input.
std::vector<InputMessage> TranslateInput(const QEvent& event, QPoint position);

// MAKELPARAM(x, y).
std::intptr_t PackPoint(QPoint point);

}  // namespace kestrin::qt
