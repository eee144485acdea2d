// The windows' timers: SetTimer semantics (WM_TIMER with the identifier to the window, an
// identifier set again is replaced and counts its period from then) with real periods down
// to 1 ms through HighResolutionTicker, or plain ::SetTimer where that is unavailable or
// KESTRIN_PLAIN_TIMER=1 is in the environment.
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
    void KillAll(HWND window);

    // For a queued WM_TIMER: false when it was posted by a timer that has since been
    // replaced or killed, and must be dropped.
    bool IsCurrent(const MSG& msg) const;
    // The tick has been taken from the queue (dispatched or consumed): the next may come.
    void Taken(const MSG& msg);

    // Whether new timers use the high-resolution ticker (else plain SetTimer).
    bool HighResolution() const { return m_highResolution; }

  private:
    struct Timer {
        std::unique_ptr<HighResolutionTicker> ticker;  // null: a plain SetTimer timer
        LPARAM tag = 0;
    };
    using Key = std::pair<HWND, UINT_PTR>;

    const Timer* Find(const MSG& msg) const;

    bool m_highResolution;
    LPARAM m_nextTag = 1;  // tags of high-resolution ticks; plain ticks carry 0
    std::map<Key, Timer> m_timers;
};

}  // namespace kestrin::win32
