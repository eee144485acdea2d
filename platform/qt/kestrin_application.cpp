#include "platform/qt/kestrin_application.h"

namespace kestrin::qt {

KestrinApplication::KestrinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // A dialog program: the last window closing must not end anything behind our back.
    setQuitOnLastWindowClosed(false);
}

bool KestrinApplication::notify(QObject* receiver, QEvent* event) {
    // QApplication::notify propagates ignored mouse and key events to parents itself, so an
    // override sees each event exactly once.
    if (m_router != nullptr && m_router->Route(receiver, event)) return true;
    return QApplication::notify(receiver, event);
}

}  // namespace kestrin::qt
