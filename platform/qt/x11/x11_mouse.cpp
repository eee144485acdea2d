#include "platform/qt/x11/x11_mouse.h"

#include "platform/qt/input_layer.h"

// Xlib last: its macros (None, Bool, ...) must not meet other headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace kestrin::qt {

void MouseInjector::Closer::operator()(_XDisplay* display) const {
    // Closing flushes whatever is still buffered, so no burst is left half sent.
    XCloseDisplay(display);
}

MouseInjector::MouseInjector() : m_display(XOpenDisplay(nullptr)) {}

MouseInjector::~MouseInjector() = default;

bool MouseInjector::GetPointer(int& x, int& y) {
    if (!Valid()) return false;
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    return XQueryPointer(m_display.get(), DefaultRootWindow(m_display.get()), &root, &child, &x, &y,
                         &windowX, &windowY, &mask) != False;
}

bool MouseInjector::SetPointer(int x, int y) {
    if (!Valid()) return false;
    XWarpPointer(m_display.get(), 0, DefaultRootWindow(m_display.get()), 0, 0, 0, 0, x, y);
    return XFlush(m_display.get()) != 0;
}

void MouseInjector::SendBurst(std::span<const std::uint32_t> flags) {
    if (!Valid() || flags.empty()) return;
    Display* display = m_display.get();
    // Empty the output buffer first, so the burst's few requests cannot be split by an
    // automatic flush part-way; then they all leave in the one write below.
    XFlush(display);
    for (const std::uint32_t flag : flags) {
        if (const auto event = ButtonEventOf(flag)) {
            XTestFakeButtonEvent(display, event->right ? 3 : 1, event->pressed ? True : False,
                                 CurrentTime);
        }
    }
    XFlush(display);
}

}  // namespace kestrin::qt
