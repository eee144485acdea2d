#include "platform/win32/high_resolution_ticker.h"

#include <algorithm>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace kestrin::win32 {
namespace {

LONGLONG Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG Frequency() {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

}  // namespace

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
    return std::make_unique<HighResolutionTicker>(Key{}, window, id, periodMs, std::move(timer),
                                                  std::move(stop));
}

HighResolutionTicker::HighResolutionTicker(Key, HWND window, UINT_PTR id, unsigned periodMs,
                                           UniqueHandle timer, UniqueHandle stop)
    : m_window(window),
      m_id(id),
      m_timer(std::move(timer)),
      m_stop(std::move(stop)),
      m_start(Now()),
      m_period(std::max<LONGLONG>(1, Frequency() * periodMs / 1000)),
      m_pacer(periodMs) {}

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

void HighResolutionTicker::Woke() {
    const std::int64_t passed = (Now() - m_start) / m_period;
    const std::lock_guard lock(m_pacing);
    // The signal says a period has passed even where the counter, read a moment early, does
    // not yet.
    m_pacer.Woke(static_cast<std::uint64_t>(std::max<std::int64_t>(passed - m_periods, 1)));
    m_periods = std::max(passed, m_periods + 1);
}

bool HighResolutionTicker::Take() {
    const std::lock_guard lock(m_pacing);
    return m_pacer.Take();
}

void HighResolutionTicker::TickTaken() {
    m_pending.store(false, std::memory_order_release);
    if (m_relay.joinable()) PostOwed();
}

void HighResolutionTicker::PostOwed() {
    if (m_pending.exchange(true, std::memory_order_acq_rel)) return;  // one at a time
    if (!Take() || !::PostMessageW(m_window, WM_TIMER, m_id, 0)) {
        m_pending.store(false, std::memory_order_release);
    }
}

void HighResolutionTicker::Relay() {
    const HANDLE waitFor[] = {m_stop.get(), m_timer.get()};
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait failed
        Woke();
        PostOwed();
    }
}

}  // namespace kestrin::win32
