// A periodic high-resolution waitable timer behind one window's timer identifier, for periods
// SetTimer cannot keep (Windows raises SetTimer periods below 10 ms to 10 ms and rounds them to
// its ~15.6 ms clock).
//
// Its ticks are taken in one of two ways. Our own modal loop waits on Handle() together with
// the message queue and delivers each tick on the UI thread itself (ClickTimers::GetMessage):
// nothing passes between threads, so nothing is lost on the way. While a loop that is not ours
// runs (a message box, a menu, a window being moved), a relay thread waits on the timer instead
// and posts WM_TIMER (wParam = the identifier, lParam = 0, as DispatchMessage takes any other
// lParam for a timer callback) to the window, one at a time: while a posted tick waits in the
// queue, nothing more is posted. The receiver calls TickTaken() when it takes a posted tick
// from the queue.
//
// The timer resets when a wait takes its signal, and a signal not yet taken stays one signal
// however many periods pass. The wait that takes it calls Woke(), which counts the periods
// passed from the time elapsed since the start; the pacer (platform/tick_pacer.h) decides
// which of them are made up, and Take() hands out the ticks.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/tick_pacer.h"
#include "platform/win32/handles.h"

namespace kestrin::win32 {

class HighResolutionTicker {
  public:
    // Starts ticking every `periodMs` from now. nullptr when the system has no
    // high-resolution waitable timer.
    static std::unique_ptr<HighResolutionTicker> Start(HWND window, UINT_PTR id, unsigned periodMs);
    // Stops the relay and the timer; nothing is posted afterwards.
    ~HighResolutionTicker();
    HighResolutionTicker(const HighResolutionTicker&) = delete;
    HighResolutionTicker& operator=(const HighResolutionTicker&) = delete;

    // Signalled when a period has passed; a wait on it takes the tick.
    HANDLE Handle() const { return m_timer.get(); }
    HWND Window() const { return m_window; }
    UINT_PTR Id() const { return m_id; }

    // A wait has taken the timer's signal: a period or more has passed since the last one.
    void Woke();
    // A tick to deliver now, if the pacer hands one out.
    bool Take();

    // The relay posts the ticks from now until StopRelay(). Both may be called again.
    void StartRelay();
    void StopRelay();
    // A posted tick has been taken from the queue: while the relay runs, it posts the next
    // one owed.
    void TickTaken();

    // Only Start() can make one.
    class Key {
        friend class HighResolutionTicker;
        Key() = default;
    };
    HighResolutionTicker(Key, HWND window, UINT_PTR id, unsigned periodMs, UniqueHandle timer,
                         UniqueHandle stop);

  private:
    void Relay();
    void PostOwed();  // posts a tick owed unless one is posted already

    HWND m_window;
    UINT_PTR m_id;
    UniqueHandle m_timer;
    UniqueHandle m_stop;  // manual reset: set while the relay is to stop
    std::atomic<bool> m_pending{false};
    LONGLONG m_start;            // performance counter at the start
    LONGLONG m_period;           // in performance counts
    std::mutex m_pacing;         // the relay and the UI thread both wake and take
    std::int64_t m_periods = 0;  // periods passed at the last wake
    platform::TickPacer m_pacer;
    std::thread m_relay;
};

}  // namespace kestrin::win32
