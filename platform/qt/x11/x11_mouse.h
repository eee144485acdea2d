// The pointer and synthetic button presses, on an X connection of their own.
//
// A connection of our own keeps the pointer query's round trip and the XTest requests away
// from Qt's connection, whose event-reader thread would otherwise be woken for each of them.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
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
    // The pointer in screen pixels, as the server told it at most kTellAgainAfter ago. At 1000
    // ticks a second, asking at every tick would hold each tick up for a round trip, and for
    // as long as the host holds the server up; the clicks land wherever the server has the
    // pointer all the same.
    bool GetPointer(int& x, int& y);
    // Placed back where GetPointer told it was, the pointer stays wherever the server has it
    // now (it moves it by nothing), so a pointer moved since is never pulled back.
    bool SetPointer(int x, int y);
    // Sends the button events (MOUSEEVENTF_ flags) in one write, so the server receives the
    // whole burst or none of it: a burst never leaves a button down.
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    struct Closer {
        void operator()(_XDisplay* display) const;
    };
    struct Told {
        int x;
        int y;
        std::chrono::steady_clock::time_point when;
    };
    static constexpr std::chrono::milliseconds kTellAgainAfter{100};

    std::unique_ptr<_XDisplay, Closer> m_display;
    std::optional<Told> m_told;  // the position the server last told, while it is fresh
};

}  // namespace kestrin::qt
