// kestrin_click_target.exe: a window that counts the mouse-button presses and releases it
// receives, and shows the counts in its title for the inspector to read:
//   "Click target: left <down> <up>, right <down> <up>"
// Its class has no CS_DBLCLKS, so every press is a button-down message.
//   kestrin_click_target.exe [x y width height]
#include <windows.h>
// This builds on <windows.h>.
#include <shellapi.h>

#include <cstdlib>
#include <string>

namespace {

struct Counts {
    int leftDown = 0;
    int leftUp = 0;
    int rightDown = 0;
    int rightUp = 0;
};

void ShowCounts(HWND window, const Counts& c) {
    const std::wstring title = L"Click target: left " + std::to_wstring(c.leftDown) + L" " +
                               std::to_wstring(c.leftUp) + L", right " +
                               std::to_wstring(c.rightDown) + L" " + std::to_wstring(c.rightUp);
    ::SetWindowTextW(window, title.c_str());
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* counts = reinterpret_cast<Counts*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (counts != nullptr) {
        switch (message) {
            case WM_LBUTTONDOWN:
                ++counts->leftDown;
                break;
            case WM_LBUTTONUP:
                ++counts->leftUp;
                break;
            case WM_RBUTTONDOWN:
                ++counts->rightDown;
                break;
            case WM_RBUTTONUP:
                ++counts->rightUp;
                break;
            case WM_DESTROY:
                ::PostQuitMessage(0);
                return 0;
            default:
                return ::DefWindowProcW(window, message, wParam, lParam);
        }
        ShowCounts(window, *counts);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int Argument(int argc, wchar_t** argv, int index, int fallback) {
    return index < argc ? static_cast<int>(std::wcstol(argv[index], nullptr, 10)) : fallback;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const int x = Argument(argc, argv, 1, 450);
    const int y = Argument(argc, argv, 2, 120);
    const int width = Argument(argc, argv, 3, 400);
    const int height = Argument(argc, argv, 4, 300);
    ::LocalFree(argv);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KestrinClickTarget";
    if (::RegisterClassExW(&wc) == 0) return 1;

    Counts counts;
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, x, y, width,
                                    height, nullptr, nullptr, instance, nullptr);
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
