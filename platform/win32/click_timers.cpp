#include "platform/win32/click_timers.h"

#include <vector>

namespace kestrin::win32 {
namespace {

bool PlainTimerRequested() {
    wchar_t value[8] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"KESTRIN_PLAIN_TIMER", value, 8);
    return length == 1 && value[0] == L'1';
}

// Removes the timer's ticks from the calling thread's queue; other timers' ticks go back.
void DropQueuedTicks(HWND window, UINT_PTR id) {
    std::vector<MSG> others;
    MSG msg;
    while (::PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD)) {
        if (msg.hwnd != window || msg.wParam != id) others.push_back(msg);
    }
    for (const MSG& other : others) {
        ::PostMessageW(other.hwnd, other.message, other.wParam, other.lParam);
    }
}

}  // namespace

ClickTimers::ClickTimers() : m_highResolution(!PlainTimerRequested()) {}

ClickTimers::~ClickTimers() {
    for (const auto& [key, ticker] : m_timers) {
        if (!ticker) ::KillTimer(key.first, key.second);
    }
}

bool ClickTimers::Set(HWND window, UINT_PTR id, unsigned periodMs) {
    if (periodMs == 0) periodMs = 1;
    Kill(window, id);
    Timer ticker;
    if (m_highResolution) {
        ticker = HighResolutionTicker::Start(window, id, periodMs);
        // The system has no high-resolution timer: use plain ones from now on.
        if (!ticker) m_highResolution = false;
    }
    if (!ticker && ::SetTimer(window, id, periodMs, nullptr) == 0) return false;
    m_timers[{window, id}] = std::move(ticker);
    return true;
}

bool ClickTimers::Kill(HWND window, UINT_PTR id) {
    const auto found = m_timers.find({window, id});
    if (found == m_timers.end()) return false;
    if (!found->second) ::KillTimer(window, id);
    m_timers.erase(found);  // a ticker's worker has stopped when this returns
    DropQueuedTicks(window, id);
    return true;
}

void ClickTimers::KillAll(HWND window) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first != window) {
            ++it;
            continue;
        }
        if (!it->second) ::KillTimer(window, it->first.second);
        it = m_timers.erase(it);
    }
}

void ClickTimers::Taken(HWND window, UINT_PTR id) {
    const auto found = m_timers.find({window, id});
    if (found != m_timers.end() && found->second) found->second->TickTaken();
}

}  // namespace kestrin::win32
