#include "platform/win32/high_resolution_ticker.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace kestrin::win32 {

std::unique_ptr<HighResolutionTicker> HighResolutionTicker::Start(HWND window, UINT_PTR id,
                                                                  unsigned periodMs) {
    // Without CREATE_WAITABLE_TIMER_MANUAL_RESET: a synchronization timer, reset by the wait
    // that takes its signal.
    UniqueHandle timer(::CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    if (!timer) return nullptr;
    UniqueHandle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop) return nullptr;

    // Relative due time in 100 ns units (negative), then every periodMs.
    LARGE_INTEGER due;
    due.QuadPart = -10'000LL * static_cast<LONGLONG>(periodMs);
    if (!::SetWaitableTimerEx(timer.get(), &due, static_cast<LONG>(periodMs), nullptr, nullptr,
                              nullptr, 0)) {
        return nullptr;
    }
    return std::make_unique<HighResolutionTicker>(Key{}, window, id, std::move(timer),
                                                  std::move(stop));
}

HighResolutionTicker::HighResolutionTicker(Key, HWND window, UINT_PTR id, UniqueHandle timer,
                                           UniqueHandle stop)
    : m_window(window), m_id(id), m_timer(std::move(timer)), m_stop(std::move(stop)) {}

HighResolutionTicker::~HighResolutionTicker() {
    StopRelay();
    ::CancelWaitableTimer(m_timer.get());
}

void HighResolutionTicker::StartRelay() {
    if (m_relay.joinable()) return;
    ::ResetEvent(m_stop.get());
    m_relay = std::thread([this] { Relay(); });
}

void HighResolutionTicker::StopRelay() {
    if (!m_relay.joinable()) return;
    ::SetEvent(m_stop.get());
    m_relay.join();
}

void HighResolutionTicker::Relay() {
    const HANDLE waitFor[] = {m_stop.get(), m_timer.get()};
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait failed
        if (m_pending.exchange(true, std::memory_order_acq_rel)) continue;  // one at a time
        if (!::PostMessageW(m_window, WM_TIMER, m_id, 0)) {
            m_pending.store(false, std::memory_order_release);
        }
    }
}

}  // namespace kestrin::win32
