// The pointer and synthetic button presses, on an X connection of their own.
//
// A connection of our own keeps the pointer query's round trip and the XTest requests away
// from Qt's connection, whose event-reader thread would otherwise be woken for each of them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

struct _XDisplay;  // Xlib's Display

namespace kestrin::qt {

class MouseInjector {
  public:
    // Opens its own connection to the display Qt runs on; Valid() tells whether it could.
    MouseInjector();
    ~MouseInjector();
    MouseInjector(const MouseInjector&) = delete;
    MouseInjector& operator=(const MouseInjector&) = delete;

    bool Valid() const { return m_display != nullptr; }
    // The pointer in screen pixels.
    bool GetPointer(int& x, int& y);
    bool SetPointer(int x, int y);
    // Sends the button events (MOUSEEVENTF_ flags) in one write, so the server receives the
    // whole burst or none of it: a burst never leaves a button down.
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    struct Closer {
        void operator()(_XDisplay* display) const;
    };
    std::unique_ptr<_XDisplay, Closer> m_display;
};

}  // namespace kestrin::qt
