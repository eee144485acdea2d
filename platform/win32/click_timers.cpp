#include "platform/win32/click_timers.h"

#include <array>
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

// One wait covers the message queue and at most this many timers.
constexpr std::size_t kMaxWaited = MAXIMUM_WAIT_OBJECTS - 1;

int QueuedMessage(MSG& msg) {
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return -2;  // nothing queued
    return msg.message == WM_QUIT ? 0 : 1;
}

int TickOf(const HighResolutionTicker& ticker, MSG& msg) {
    msg = MSG{};
    msg.hwnd = ticker.Window();
    msg.message = WM_TIMER;
    msg.wParam = ticker.Id();
    msg.time = ::GetTickCount();
    return 1;
}

}  // namespace

ClickTimers::ClickTimers() : m_highResolution(!PlainTimerRequested()) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    m_immediate = frequency.QuadPart / 10'000;  // 0.1 ms: a wait that did not wait
}

ClickTimers::~ClickTimers() {
    for (const auto& [key, ticker] : m_timers) {
        if (!ticker) ::KillTimer(key.first, key.second);
    }
}

bool ClickTimers::Set(HWND window, UINT_PTR id, unsigned periodMs) {
    if (periodMs == 0) periodMs = 1;
    Kill(window, id);
    std::size_t waited = 0;
    for (const auto& entry : m_timers) waited += entry.second ? 1 : 0;
    Timer ticker;
    if (m_highResolution && waited < kMaxWaited) {
        ticker = HighResolutionTicker::Start(window, id, periodMs);
        // The system has no high-resolution timer: use plain ones from now on.
        if (!ticker) m_highResolution = false;
    }
    if (!ticker && ::SetTimer(window, id, periodMs, nullptr) == 0) return false;
    if (ticker && m_foreignLoops > 0) ticker->StartRelay();
    m_timers[{window, id}] = std::move(ticker);
    return true;
}

bool ClickTimers::Kill(HWND window, UINT_PTR id) {
    const auto found = m_timers.find({window, id});
    if (found == m_timers.end()) return false;
    if (!found->second) ::KillTimer(window, id);
    m_timers.erase(found);  // a ticker's relay has stopped when this returns
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

int ClickTimers::GetMessage(MSG& msg) {
    // The wait prefers a due tick to queued messages. After a tick that was due before the
    // wait began, so that ticks may be due at every turn, a queued message goes first: the
    // timer cannot hold up the queue (and with it F4). A tick the wait did wait for found
    // the queue empty, and costs no look at it.
    if (m_behind) {
        m_behind = false;
        if (const int got = QueuedMessage(msg); got != -2) return got;
    }
    // Inside a loop that is not ours the relays take the ticks; ours then waits on the queue.
    std::array<HighResolutionTicker*, kMaxWaited> tickers{};
    std::array<HANDLE, kMaxWaited> handles{};
    DWORD count = 0;
    if (m_foreignLoops == 0) {
        for (const auto& entry : m_timers) {
            if (!entry.second) continue;
            // A tick a late wake still owes comes without a wait, taking turns with the queue.
            if (entry.second->Take()) {
                m_behind = true;
                return TickOf(*entry.second, msg);
            }
            tickers[count] = entry.second.get();
            handles[count] = entry.second->Handle();
            ++count;
        }
    }
    for (;;) {
        LARGE_INTEGER asked, woke;
        ::QueryPerformanceCounter(&asked);
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE,
                                                          QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        ::QueryPerformanceCounter(&woke);
        if (woken < WAIT_OBJECT_0 + count) {
            HighResolutionTicker& ticker = *tickers[woken - WAIT_OBJECT_0];
            ticker.Woke();
            if (!ticker.Take()) continue;
            m_behind = woke.QuadPart - asked.QuadPart < m_immediate;
            return TickOf(ticker, msg);
        }
        if (woken == WAIT_OBJECT_0 + count) {
            // Input arrived: take it (it may have been taken already by a nested call).
            if (const int got = QueuedMessage(msg); got != -2) return got;
            continue;
        }
        // The wait on the timers failed: from now on their relays post the ticks, and the
        // queue alone is waited on.
        if (count == 0) return ::GetMessageW(&msg, nullptr, 0, 0);
        EnterForeignLoop();  // never left
        count = 0;
    }
}

void ClickTimers::EnterForeignLoop() {
    if (m_foreignLoops++ > 0) return;
    for (const auto& entry : m_timers) {
        if (entry.second) entry.second->StartRelay();
    }
}

void ClickTimers::LeaveForeignLoop() {
    if (m_foreignLoops == 0 || --m_foreignLoops > 0) return;
    // A tick the relay has posted stays queued, for our loop to take.
    for (const auto& entry : m_timers) {
        if (entry.second) entry.second->StopRelay();
    }
}

void ClickTimers::Taken(HWND window, UINT_PTR id) {
    const auto found = m_timers.find({window, id});
    if (found != m_timers.end() && found->second) found->second->TickTaken();
}

}  // namespace kestrin::win32
