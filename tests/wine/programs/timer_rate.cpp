// kestrin_timer_rate.exe: measures how many ticks per second the program's click timer
// delivers. It measures; it asserts nothing.
//
//   kestrin_timer_rate.exe <period ms> <seconds>
//
// Runs the same timer code as the program (ClickTimers: the high-resolution ticker, or plain
// SetTimer when KESTRIN_PLAIN_TIMER=1) on a window of its own, dispatching ticks as the
// program's loop does, and prints one JSON line: the mode, the ticks, the time, the rate, and
// the longest interval between two ticks.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "json_writer.h"
#include "platform/win32/click_timers.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const auto periodMs = static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10));
    const double seconds = std::wcstod(argv[2], nullptr);

    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return 1;
    kestrin::win32::ClickTimers timers;

    LARGE_INTEGER frequency, start, now, last;
    ::QueryPerformanceFrequency(&frequency);
    auto elapsed = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
        return static_cast<double>(to.QuadPart - from.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    };

    if (!timers.Set(window, 1, periodMs)) return 1;
    ::QueryPerformanceCounter(&start);
    last = start;
    long ticks = 0;
    double longest = 0;
    for (;;) {
        ::QueryPerformanceCounter(&now);
        const double left = seconds - elapsed(start, now);
        if (left <= 0) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left * 1000) + 1,
                                    QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_TIMER || msg.hwnd != window) continue;
            timers.Taken(msg.hwnd, msg.wParam);
            ::QueryPerformanceCounter(&now);
            if (ticks > 0) longest = std::max(longest, elapsed(last, now));
            last = now;
            ++ticks;
        }
    }
    ::QueryPerformanceCounter(&now);
    const bool highResolution = timers.HighResolution();
    timers.Kill(window, 1);
    ::DestroyWindow(window);

    const double total = elapsed(start, now);
    kestrin::wine_test::PrintLine(
        std::string("{\"periodMs\":") + std::to_string(periodMs) + ",\"mode\":\"" +
        (highResolution ? "high-resolution" : "SetTimer") +
        "\",\"ticks\":" + std::to_string(ticks) + ",\"seconds\":" + std::to_string(total) +
        ",\"ticksPerSecond\":" + std::to_string(static_cast<double>(ticks) / total) +
        ",\"longestIntervalMs\":" + std::to_string(longest * 1000) + "}");
    return 0;
}
