#include "platform/qt/mouse_injector.h"

#include <cstdlib>

#include "platform/qt/window_messages.h"
#include "platform/qt/x_keyboard.h"

// Xlib last: its macros (None, Bool, ...) must not meet other headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace kestrin::qt {

struct MouseInjector::OwnDisplay {
    std::unique_ptr<Display, decltype(&XCloseDisplay)> display{XOpenDisplay(nullptr),
                                                               &XCloseDisplay};
};

MouseInjector::MouseInjector(_XDisplay* display, xcb_connection_t* connection)
    : m_display(display), m_connection(connection), m_root(RootWindowOfDefaultScreen(connection)) {
    if (m_display == nullptr) {
        m_own = std::make_unique<OwnDisplay>();
        m_display = m_own->display.get();
    }
}

MouseInjector::~MouseInjector() {
    if (m_display != nullptr) XFlush(m_display);
}

bool MouseInjector::GetPointer(int& x, int& y) {
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr);
    if (reply == nullptr) return false;
    x = reply->root_x;
    y = reply->root_y;
    std::free(reply);
    return true;
}

bool MouseInjector::SetPointer(int x, int y) {
    xcb_warp_pointer(m_connection, XCB_NONE, m_root, 0, 0, 0, 0, static_cast<std::int16_t>(x),
                     static_cast<std::int16_t>(y));
    return xcb_flush(m_connection) > 0;
}

void MouseInjector::SendBurst(std::span<const std::uint32_t> flags) {
    if (m_display == nullptr || flags.empty()) return;
    // Empty the output buffer first, so the burst's few requests cannot be split by an
    // automatic flush part-way; then they all leave in the one write below.
    XFlush(m_display);
    for (const std::uint32_t flag : flags) {
        switch (flag) {
            case wm::MouseLeftDown:
                XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
                break;
            case wm::MouseLeftUp:
                XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
                break;
            case wm::MouseRightDown:
                XTestFakeButtonEvent(m_display, 3, True, CurrentTime);
                break;
            case wm::MouseRightUp:
                XTestFakeButtonEvent(m_display, 3, False, CurrentTime);
                break;
            default:
                break;
        }
    }
    XFlush(m_display);
}

}  // namespace kestrin::qt
