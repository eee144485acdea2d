// The windows' timers: SetTimer semantics (WM_TIMER with the identifier to the window, an
// identifier set again is replaced and counts its period from then) with real periods down
// to 1 ms through HighResolutionTicker, or plain ::SetTimer where that is unavailable or
// KESTRIN_PLAIN_TIMER=1 is in the environment.
//
// A timer replaced or killed leaves no tick of its own in the queue.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <utility>

#include "platform/win32/high_resolution_ticker.h"

namespace kestrin::win32 {

class ClickTimers {
  public:
    ClickTimers();
    ~ClickTimers();
    ClickTimers(const ClickTimers&) = delete;
    ClickTimers& operator=(const ClickTimers&) = delete;

    bool Set(HWND window, UINT_PTR id, unsigned periodMs);
    bool Kill(HWND window, UINT_PTR id);
    // Stops the window's timers; for a window being destroyed, whose queue goes with it.
    void KillAll(HWND window);

    // A tick of this timer has been taken from the queue (dispatched or consumed): the next
    // may be posted.
    void Taken(HWND window, UINT_PTR id);

    // Whether new timers use the high-resolution ticker (else plain SetTimer).
    bool HighResolution() const { return m_highResolution; }

  private:
    // Null for a plain SetTimer timer.
    using Timer = std::unique_ptr<HighResolutionTicker>;

    bool m_highResolution;
    std::map<std::pair<HWND, UINT_PTR>, Timer> m_timers;
};

}  // namespace kestrin::win32
