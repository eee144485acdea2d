// kestrin_click_target.exe [X Y WIDTH HEIGHT NAME]: a window, by default at 450, 120 (400 x 300)
// and named "Click target", that counts the mouse-button presses and releases it receives and
// shows the counts in its title for the inspector:
//   "<name>: left <down> <up>, right <down> <up>"
// Its class has no CS_DBLCLKS, so every press is a button-down message. It also writes each
// press and release, in the order received, on its standard output, one line each:
//   <P|R> <1 left|3 right> <the message's time in ms>
// The title and the output are brought up to date at most every 50 ms rather than at each
// press, and by a timer once the presses stop: a title change is a property write to the X
// server and a repaint under Wine, which at a thousand clicks a second would load the machine
// more than the clicker under measure.
#include <windows.h>

#include <array>
#include <cwchar>
#include <string>

namespace {

using Counts = std::array<int, 4>;
struct Target {
    std::wstring name;
    Counts counts{};
    bool shown = false;  // the title shows the counts, and the output every event
    ULONGLONG shownAt = 0;
    std::string events;  // not yet written
};
constexpr UINT_PTR kTitleTimer = 1;
constexpr std::array<UINT, 4> kCounted = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                          WM_RBUTTONUP};

void ShowCounts(HWND window, Target& target) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), target.events.data(),
                static_cast<DWORD>(target.events.size()), &written, nullptr);
    target.events.clear();
    target.shown = true;
    target.shownAt = ::GetTickCount64();
    const Counts& c = target.counts;
    const std::wstring title = target.name + L": left " + std::to_wstring(c[0]) + L" " +
                               std::to_wstring(c[1]) + L", right " + std::to_wstring(c[2]) + L" " +
                               std::to_wstring(c[3]);
    ::SetWindowTextW(window, title.c_str());
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* target = reinterpret_cast<Target*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    for (std::size_t i = 0; i < kCounted.size() && target != nullptr; ++i) {
        if (message == kCounted[i]) {
            ++target->counts[i];
            target->events += std::string(i % 2 == 0 ? "P " : "R ") + (i < 2 ? "1 " : "3 ") +
                              std::to_string(::GetMessageTime()) + "\n";
            target->shown = false;
            if (::GetTickCount64() - target->shownAt >= 50) ShowCounts(window, *target);
            return 0;
        }
    }
    if (message == WM_TIMER && wParam == kTitleTimer && target != nullptr && !target->shown) {
        ShowCounts(window, *target);
        return 0;
    }
    // The class cursor stays; setting it again at every mouse message costs a server call.
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) return TRUE;
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    int x = 450, y = 120, width = 400, height = 300;
    wchar_t name[64] = L"Click target";
    std::swscanf(commandLine, L"%d %d %d %d %63ls", &x, &y, &width, &height, name);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KestrinClickTarget";
    if (::RegisterClassExW(&wc) == 0) return 1;

    Target target{name, {}, false, 0, {}};
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, x, y, width,
                                    height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));
    ShowCounts(window, target);
    if (::SetTimer(window, kTitleTimer, 50, nullptr) == 0) return 1;
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetForegroundWindow(window);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
