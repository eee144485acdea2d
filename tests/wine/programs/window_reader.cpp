// kestrin_inspect.exe: looks at and drives another program's windows from outside.
//
//   kestrin_inspect.exe dump <class> <title> [timeout ms]   the window and its controls, JSON:
//       {"title", "foreground", "controls": [{"id", "text"}, ...]}
//   kestrin_inspect.exe post <class> <title> <control id> <message> <wParam> [lParam]
//                                                   posts to the window (control id 0) or to
//                                                   one of its controls
//   kestrin_inspect.exe set-text <class> <title> <control id> <text>
//
// Only visible windows count; <class> or <title> may be "*" for any. The window is waited for
// up to the timeout (default 10 s); exit code 1 when it never shows.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "json_writer.h"

namespace {

using kestrin::wine_test::Quoted;

struct Wanted {
    std::wstring_view cls;
    std::wstring_view title;
    HWND found = nullptr;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

// A hung window must not hang the inspector.
std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 3000, &ignored);
    return text;
}

// The caption as the system keeps it: no message to a window that may not answer.
BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto* wanted = reinterpret_cast<Wanted*>(param);
    wchar_t title[512] = {};
    ::GetWindowTextW(window, title, 512);
    if (::IsWindowVisible(window) && (wanted->cls == L"*" || ClassOf(window) == wanted->cls) &&
        (wanted->title == L"*" || wanted->title == title)) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    Wanted wanted{cls, title};
    for (;;) {
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&wanted));
        if (wanted.found != nullptr || ::GetTickCount64() >= deadline) return wanted.found;
        ::Sleep(50);
    }
}

std::string Dump(HWND window) {
    std::string json = "{\"title\":" + Quoted(TextOf(window)) +
                       ",\"foreground\":" + (::GetForegroundWindow() == window ? "true" : "false") +
                       ",\"controls\":[";
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        json += std::string(json.back() == '[' ? "" : ",") +
                "{\"id\":" + std::to_string(::GetDlgCtrlID(child)) +
                ",\"text\":" + Quoted(TextOf(child)) + "}";
    }
    return json + "]}";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const std::wstring_view command = argv[1];
    const DWORD timeoutMs =
        command == L"dump" && argc > 4 ? std::wcstoul(argv[4], nullptr, 10) : 10000;
    HWND window = WaitForWindow(argv[2], argv[3], timeoutMs);
    if (window == nullptr) return 1;
    if (command == L"dump") {
        kestrin::wine_test::PrintLine(Dump(window));
        return 0;
    }
    HWND control = argc > 4 ? ::GetDlgItem(window, std::wcstol(argv[4], nullptr, 0)) : nullptr;
    if (command == L"set-text" && argc == 6 && control != nullptr) {
        DWORD_PTR result = 0;
        const LRESULT sent =
            ::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[5]),
                                  SMTO_ABORTIFHUNG, 3000, &result);
        return sent != 0 && result == TRUE ? 0 : 1;
    }
    if (command == L"post" && argc >= 7) {
        HWND target = std::wcstol(argv[4], nullptr, 0) == 0 ? window : control;
        const auto lParam = argc > 7 ? std::wcstoll(argv[7], nullptr, 0) : 0;
        const bool posted =
            target != nullptr && ::PostMessageW(target, std::wcstoul(argv[5], nullptr, 0),
                                                std::wcstoull(argv[6], nullptr, 0), lParam);
        return posted ? 0 : 1;
    }
    return 2;
}
