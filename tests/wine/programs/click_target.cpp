// kestrin_click_target.exe: a window at 450, 120 (400 x 300) that counts the mouse-button
// presses and releases it receives, and shows the counts in its title for the inspector:
//   "Click target: left <down> <up>, right <down> <up>"
// Its class has no CS_DBLCLKS, so every press is a button-down message.
#include <windows.h>

#include <array>
#include <string>

namespace {

using Counts = std::array<int, 4>;
constexpr std::array<UINT, 4> kCounted = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                          WM_RBUTTONUP};

void ShowCounts(HWND window, const Counts& c) {
    const std::wstring title = L"Click target: left " + std::to_wstring(c[0]) + L" " +
                               std::to_wstring(c[1]) + L", right " + std::to_wstring(c[2]) + L" " +
                               std::to_wstring(c[3]);
    ::SetWindowTextW(window, title.c_str());
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* counts = reinterpret_cast<Counts*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    for (std::size_t i = 0; i < kCounted.size() && counts != nullptr; ++i) {
        if (message == kCounted[i]) {
            ++(*counts)[i];
            ShowCounts(window, *counts);
            return 0;
        }
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KestrinClickTarget";
    if (::RegisterClassExW(&wc) == 0) return 1;

    Counts counts{};
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 450, 120, 400,
                                    300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&counts));
    ShowCounts(window, counts);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetForegroundWindow(window);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
