#include "platform/win32/click_timers.h"

namespace kestrin::win32 {
namespace {

bool PlainTimerRequested() {
    wchar_t value[8] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"KESTRIN_PLAIN_TIMER", value, 8);
    return length == 1 && value[0] == L'1';
}

}  // namespace

ClickTimers::ClickTimers() : m_highResolution(!PlainTimerRequested()) {}

ClickTimers::~ClickTimers() {
    for (auto& [key, timer] : m_timers) {
        if (!timer.ticker) ::KillTimer(key.first, key.second);
    }
}

bool ClickTimers::Set(HWND window, UINT_PTR id, unsigned periodMs) {
    if (periodMs == 0) periodMs = 1;
    Kill(window, id);
    Timer timer;
    if (m_highResolution) {
        timer.tag = m_nextTag++;
        timer.ticker = HighResolutionTicker::Start(window, id, periodMs, timer.tag);
        // The system has no high-resolution timer: use plain ones from now on.
        if (!timer.ticker) m_highResolution = false;
    }
    if (!timer.ticker) {
        timer.tag = 0;
        if (::SetTimer(window, id, periodMs, nullptr) == 0) return false;
    }
    m_timers[{window, id}] = std::move(timer);
    return true;
}

bool ClickTimers::Kill(HWND window, UINT_PTR id) {
    const auto found = m_timers.find({window, id});
    if (found == m_timers.end()) return false;
    if (!found->second.ticker) ::KillTimer(window, id);
    m_timers.erase(found);  // a ticker stops here
    return true;
}

void ClickTimers::KillAll(HWND window) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == window) {
            if (!it->second.ticker) ::KillTimer(window, it->first.second);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

const ClickTimers::Timer* ClickTimers::Find(const MSG& msg) const {
    const auto found = m_timers.find({msg.hwnd, msg.wParam});
    return found == m_timers.end() ? nullptr : &found->second;
}

bool ClickTimers::IsCurrent(const MSG& msg) const {
    if (msg.message != WM_TIMER || msg.lParam == 0) return true;  // not one of our ticks
    const Timer* timer = Find(msg);
    return timer != nullptr && timer->ticker && timer->tag == msg.lParam;
}

void ClickTimers::Taken(const MSG& msg) {
    if (msg.message != WM_TIMER || msg.lParam == 0) return;
    const auto found = m_timers.find({msg.hwnd, msg.wParam});
    if (found != m_timers.end() && found->second.ticker && found->second.tag == msg.lParam) {
        found->second.ticker->TickTaken();
    }
}

}  // namespace kestrin::win32
