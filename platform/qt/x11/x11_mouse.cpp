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
    const auto now = std::chrono::steady_clock::now();
    if (!m_told || now - m_told->when >= kTellAgainAfter) {
        m_told.reset();
        Window root = 0;
        Window child = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned mask = 0;
        if (XQueryPointer(m_display.get(), DefaultRootWindow(m_display.get()), &root, &child, &x,
                          &y, &windowX, &windowY, &mask) == False) {
            return false;  // on another screen
        }
        m_told = Told{x, y, now};
        return true;
    }
    x = m_told->x;
    y = m_told->y;
    return true;
}

bool MouseInjector::SetPointer(int x, int y) {
    if (!Valid()) return false;
    if (m_told && m_told->x == x && m_told->y == y) {
        XWarpPointer(m_display.get(), 0, 0, 0, 0, 0, 0, 0, 0);  // by nothing, from where it is
    } else {
        m_told.reset();
        XWarpPointer(m_display.get(), 0, DefaultRootWindow(m_display.get()), 0, 0, 0, 0, x, y);
    }
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
