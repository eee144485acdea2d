// kestrin_timer_rate.exe: measures how many ticks per second a timer delivers. It measures;
// it asserts nothing.
//
//   kestrin_timer_rate.exe <period ms> <seconds> [loop | foreign | bare | bare-click]
//
//   loop     the program's click timer (ClickTimers: the high-resolution timer, or plain
//            SetTimer when KESTRIN_PLAIN_TIMER=1) on a window of its own, its ticks taken as
//            the program's own modal loop takes them
//   foreign  the same, its ticks taken as a loop not ours (a message box's) takes them
//   bare     a periodic high-resolution waitable timer waited on in a loop: the ceiling
//   bare-click  the same, each tick doing a clicker's least: read the pointer, place it there
//            and send a left double click (one SendInput), where the pointer is
//
// Prints one JSON line: the mode, the ticks, the time, the rate, and the longest interval
// between two ticks.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "json_writer.h"
#include "platform/win32/click_timers.h"
#include "platform/win32/handles.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

class Stopwatch {
  public:
    Stopwatch() {
        ::QueryPerformanceFrequency(&m_frequency);
        ::QueryPerformanceCounter(&m_start);
        m_last = m_start;
    }
    double Elapsed() const { return Since(m_start); }
    // Counts a tick now.
    void Tick() {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        if (m_ticks > 0) m_longest = std::max(m_longest, Between(m_last, now));
        m_last = now;
        ++m_ticks;
    }
    long Ticks() const { return m_ticks; }
    double Longest() const { return m_longest; }

  private:
    double Between(const LARGE_INTEGER& from, const LARGE_INTEGER& to) const {
        return static_cast<double>(to.QuadPart - from.QuadPart) /
               static_cast<double>(m_frequency.QuadPart);
    }
    double Since(const LARGE_INTEGER& from) const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return Between(from, now);
    }

    LARGE_INTEGER m_frequency, m_start, m_last;
    long m_ticks = 0;
    double m_longest = 0;
};

// The first pointer calls of a process connect Wine to the X server, tens of ms: done before
// the run is timed, as a clicker has done them long before its first tick. Nothing clicks.
void WarmUpInput() {
    POINT pointer;
    if (::GetCursorPos(&pointer)) ::SetCursorPos(pointer.x, pointer.y);
    INPUT still = {};
    still.type = INPUT_MOUSE;
    still.mi.dwFlags = MOUSEEVENTF_MOVE;  // by nothing
    ::SendInput(1, &still, sizeof(INPUT));
}

void ClickHere() {
    POINT pointer;
    if (::GetCursorPos(&pointer)) ::SetCursorPos(pointer.x, pointer.y);
    INPUT inputs[4] = {};
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                            MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = flags[i];
    }
    ::SendInput(4, inputs, sizeof(INPUT));
}

bool RunBare(unsigned periodMs, double seconds, bool click, Stopwatch& watch) {
    kestrin::win32::UniqueHandle timer(::CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    if (!timer) return false;
    LARGE_INTEGER due;
    due.QuadPart = -10'000LL * static_cast<LONGLONG>(periodMs);
    const bool set = ::SetWaitableTimerEx(timer.get(), &due, static_cast<LONG>(periodMs), nullptr,
                                          nullptr, nullptr, 0) != FALSE;
    while (set) {
        const double left = seconds - watch.Elapsed();
        if (left <= 0) break;
        if (::WaitForSingleObject(timer.get(), static_cast<DWORD>(left * 1000) + 1) ==
            WAIT_OBJECT_0) {
            watch.Tick();
            if (click) ClickHere();
        }
    }
    return set;
}

// The click timer on a window of its own, its ticks taken by our modal loop's wait, or with
// `foreign`, by a plain GetMessageW loop as inside a message box.
bool RunLoop(unsigned periodMs, double seconds, bool foreign, Stopwatch& watch,
             bool& highResolution) {
    kestrin::win32::UniqueWindow owned(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0,
                                                         HWND_MESSAGE, nullptr,
                                                         ::GetModuleHandleW(nullptr), nullptr));
    if (!owned) return false;
    HWND window = owned.get();
    constexpr UINT_PTR kClick = 1, kEnd = 2;
    kestrin::win32::ClickTimers timers;
    if (!timers.Set(window, kClick, periodMs)) return false;
    if (::SetTimer(window, kEnd, static_cast<UINT>(seconds * 1000), nullptr) == 0) return false;
    if (foreign) timers.EnterForeignLoop();
    MSG msg;
    while ((foreign ? ::GetMessageW(&msg, nullptr, 0, 0) : timers.GetMessage(msg)) > 0) {
        if (msg.message != WM_TIMER || msg.hwnd != window) continue;
        if (msg.wParam == kEnd) break;
        timers.Taken(window, msg.wParam);
        watch.Tick();
    }
    if (foreign) timers.LeaveForeignLoop();
    ::KillTimer(window, kEnd);
    highResolution = timers.HighResolution();
    timers.Kill(window, kClick);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const auto periodMs = static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10));
    const double seconds = std::wcstod(argv[2], nullptr);
    const std::wstring mode = argc > 3 ? argv[3] : L"loop";

    if (mode == L"bare-click") WarmUpInput();
    Stopwatch watch;
    bool highResolution = true;
    const bool ran = mode.starts_with(L"bare")
                         ? RunBare(periodMs, seconds, mode == L"bare-click", watch)
                         : RunLoop(periodMs, seconds, mode == L"foreign", watch, highResolution);
    if (!ran) return 1;

    const double total = watch.Elapsed();
    kestrin::wine_test::PrintLine(
        std::string("{\"periodMs\":") + std::to_string(periodMs) +
        ",\"mode\":" + kestrin::wine_test::Quoted(mode) + ",\"timer\":\"" +
        (highResolution ? "high-resolution" : "SetTimer") +
        "\",\"ticks\":" + std::to_string(watch.Ticks()) + ",\"seconds\":" + std::to_string(total) +
        ",\"ticksPerSecond\":" + std::to_string(static_cast<double>(watch.Ticks()) / total) +
        ",\"longestIntervalMs\":" + std::to_string(watch.Longest() * 1000) + "}");
    return 0;
}
