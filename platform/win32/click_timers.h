// The windows' timers: SetTimer semantics (WM_TIMER with the identifier to the window, an
// identifier set again is replaced and counts its period from then) with real periods down
// to 1 ms through HighResolutionTicker, or plain ::SetTimer where that is unavailable or
// KESTRIN_PLAIN_TIMER=1 is in the environment.
//
// Our modal loops take their messages from GetMessage(), which also delivers the ticks of the
// high-resolution timers on the calling thread. While a loop that is not ours runs, between
// EnterForeignLoop() and LeaveForeignLoop(), those ticks are posted to the queue instead.
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

    // GetMessageW for our modal loops: the next queued message, or the tick of a
    // high-resolution timer whose period has passed (WM_TIMER to its window, wParam = its
    // identifier). Ticks and queued messages take turns, so neither can hold up the other.
    // Returns as GetMessageW does: 0 for WM_QUIT, -1 on failure.
    int GetMessage(MSG& msg);

    // A loop that is not ours (a message box's, a menu's, a window move's) runs from Enter
    // to the matching Leave: the high-resolution timers post their ticks meanwhile.
    void EnterForeignLoop();
    void LeaveForeignLoop();

    // A posted tick of this timer has been taken from the queue (dispatched or consumed): the
    // next may be posted.
    void Taken(HWND window, UINT_PTR id);

    // Whether new timers use the high-resolution ticker (else plain SetTimer).
    bool HighResolution() const { return m_highResolution; }

  private:
    // Null for a plain SetTimer timer.
    using Timer = std::unique_ptr<HighResolutionTicker>;

    bool m_highResolution;
    std::map<std::pair<HWND, UINT_PTR>, Timer> m_timers;
    int m_foreignLoops = 0;
    bool m_behind = false;     // GetMessage's last message was a tick due before it waited
    LONGLONG m_immediate = 0;  // a wait shorter than this (performance counts) did not wait
};

// Marks a loop that is not ours for its lifetime.
class ForeignLoopScope {
  public:
    explicit ForeignLoopScope(ClickTimers& timers) : m_timers(timers) {
        m_timers.EnterForeignLoop();
    }
    ~ForeignLoopScope() { m_timers.LeaveForeignLoop(); }
    ForeignLoopScope(const ForeignLoopScope&) = delete;
    ForeignLoopScope& operator=(const ForeignLoopScope&) = delete;

  private:
    ClickTimers& m_timers;
};

}  // namespace kestrin::win32
