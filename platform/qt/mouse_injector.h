// The pointer and synthetic button presses, on the X display Qt runs on.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <span>

struct _XDisplay;  // Xlib's Display

namespace kestrin::qt {

class MouseInjector {
  public:
    // Qt's own Xlib display and xcb connection; with no Xlib display, one is opened.
    MouseInjector(_XDisplay* display, xcb_connection_t* connection);
    ~MouseInjector();
    MouseInjector(const MouseInjector&) = delete;
    MouseInjector& operator=(const MouseInjector&) = delete;

    // The pointer in screen pixels.
    bool GetPointer(int& x, int& y);
    bool SetPointer(int x, int y);
    // Sends the button events (MOUSEEVENTF_ flags) in one write, so the server receives the
    // whole burst or none of it: a burst never leaves a button down.
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    struct OwnDisplay;
    std::unique_ptr<OwnDisplay> m_own;  // only when Qt has no Xlib display
    _XDisplay* m_display;
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
};

}  // namespace kestrin::qt
