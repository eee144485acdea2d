// kestrin_click_rate.exe: how many ticks a clicker under Wine sends between F3 and F4, timed
// inside Wine. It measures; it asserts nothing.
//
//   kestrin_click_rate.exe <presses per tick>
//
// Waits until the click target's left-button presses (read from its title, "Click target:
// left <down> ...") have settled, prints "ready", then times the F3 and F4 key presses as
// Wine takes them (a low-level keyboard hook). After F4 it waits until the clicks still queued
// in Wine have landed and prints one JSON line: the ticks (presses / presses per tick), the
// seconds from F3 to F4, and how long the last clicks took to land after F4.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#include "json_writer.h"

namespace {

constexpr DWORD kSettledMs = 500;  // no new press for this long: the queued clicks are in

// The target's left presses, or -1 when it cannot be read.
long LeftPresses(HWND target) {
    wchar_t title[128] = {};
    ::GetWindowTextW(target, title, 128);
    long presses = -1;
    return std::swscanf(title, L"Click target: left %ld", &presses) == 1 ? presses : -1;
}

long SettledPresses(HWND target) {
    long last = LeftPresses(target);
    for (ULONGLONG since = ::GetTickCount64(); ::GetTickCount64() - since < kSettledMs;) {
        ::Sleep(50);
        if (const long now = LeftPresses(target); now != last) {
            last = now;
            since = ::GetTickCount64();
        }
    }
    return last;
}

// What the keyboard hook sees. A low-level hook procedure takes no context of its own: it
// reaches the one Keys of this process through Keys::current.
struct Keys {
    HWND target = nullptr;
    LARGE_INTEGER f3{}, f4{};
    long pressesAtF3 = -1;
    static Keys* current;
};
Keys* Keys::current = nullptr;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    Keys& keys = *Keys::current;
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && wParam == WM_KEYDOWN) {
        if (key->vkCode == VK_F3 && keys.pressesAtF3 < 0) {
            ::QueryPerformanceCounter(&keys.f3);
            keys.pressesAtF3 = LeftPresses(keys.target);
        } else if (key->vkCode == VK_F4 && keys.pressesAtF3 >= 0) {
            ::QueryPerformanceCounter(&keys.f4);
            ::PostQuitMessage(0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookRemover {
    void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const double perTick = std::wcstod(argv[1], nullptr);
    Keys keys;
    keys.target = ::FindWindowW(L"KestrinClickTarget", nullptr);
    if (keys.target == nullptr || perTick <= 0) return 1;
    Keys::current = &keys;

    SettledPresses(keys.target);
    std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover> hook(
        ::SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, ::GetModuleHandleW(nullptr), 0));
    if (!hook) return 1;
    kestrin::wine_test::PrintLine("ready");

    // Gives up after a minute without F3 and F4.
    const UINT_PTR deadline = ::SetTimer(nullptr, 0, 60'000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) {
        ::DispatchMessageW(&msg);
    }
    ::KillTimer(nullptr, deadline);
    hook.reset();
    if (keys.f4.QuadPart == 0) return 1;

    LARGE_INTEGER frequency, landed;
    ::QueryPerformanceFrequency(&frequency);
    const long presses = SettledPresses(keys.target) - keys.pressesAtF3;
    ::QueryPerformanceCounter(&landed);
    auto seconds = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
        return static_cast<double>(to.QuadPart - from.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    };
    const double ticks = static_cast<double>(presses) / perTick;
    kestrin::wine_test::PrintLine(
        "{\"ticks\":" + std::to_string(ticks) +
        ",\"seconds\":" + std::to_string(seconds(keys.f3, keys.f4)) + ",\"landedSeconds\":" +
        std::to_string(seconds(keys.f4, landed) - kSettledMs / 1000.0) + "}");
    return 0;
}
