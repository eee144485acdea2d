// A periodic WM_TIMER from a high-resolution waitable timer, for periods SetTimer cannot keep
// (Windows raises SetTimer periods below 10 ms to 10 ms and rounds them to its ~15.6 ms clock).
//
// A worker thread waits on the timer and posts WM_TIMER (wParam = the identifier, lParam = 0,
// as DispatchMessage takes any other lParam for a timer callback) to the window, one at a
// time: while a tick waits in the queue, further periods post nothing, so a late tick comes
// once and missed periods are never made up. The receiver calls TickTaken() when it takes
// the tick from the queue.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/win32/handles.h"

namespace kestrin::win32 {

class HighResolutionTicker {
  public:
    // Starts ticking every `periodMs` from now. nullptr when the system has no
    // high-resolution waitable timer.
    static std::unique_ptr<HighResolutionTicker> Start(HWND window, UINT_PTR id, unsigned periodMs);
    // Stops the worker and waits for it; nothing is posted afterwards.
    ~HighResolutionTicker();
    HighResolutionTicker(const HighResolutionTicker&) = delete;
    HighResolutionTicker& operator=(const HighResolutionTicker&) = delete;

    void TickTaken() { m_pending.store(false, std::memory_order_release); }

    // Only Start() can make one.
    class Key {
        friend class HighResolutionTicker;
        Key() = default;
    };
    HighResolutionTicker(Key, HWND window, UINT_PTR id, UniqueHandle timer, UniqueHandle stop);

  private:
    void Run();

    HWND m_window;
    UINT_PTR m_id;
    UniqueHandle m_timer;
    UniqueHandle m_stop;
    std::atomic<bool> m_pending{false};
    std::thread m_worker;  // last: starts once everything above is in place
};

}  // namespace kestrin::win32
