// kestrin_inspect.exe: looks at another program's windows from outside and prints JSON.
//
//   kestrin_inspect.exe dump <class> <title> [timeout ms]   the window and its controls
//   kestrin_inspect.exe dump-all <class> <title>            every such window, as an array
//   kestrin_inspect.exe menu <class> <title> [timeout ms]   its system menu
//   kestrin_inspect.exe post <class> <title> <control id> <message> <wParam> [lParam]
//                                                           posts to the window (control id 0)
//                                                           or to one of its controls
//   kestrin_inspect.exe set-text <class> <title> <control id> <text>
//   kestrin_inspect.exe version <file>                      the file's version record
//
// <class> or <title> may be "*" for any. A window is waited for up to the timeout (default
// 10 s); exit code 1 when it never appears.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "json_writer.h"

namespace {

using kestrin::wine_test::PrintLine;
using kestrin::wine_test::Quoted;

const wchar_t* Pattern(const wchar_t* arg) {
    return std::wstring_view(arg) == L"*" ? nullptr : arg;
}

HWND WaitForWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        HWND window = ::FindWindowW(Pattern(cls), Pattern(title));
        if (window != nullptr || ::GetTickCount64() >= deadline) return window;
        ::Sleep(50);
    }
}

constexpr UINT kTimeoutMs = 3000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs,
                               &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    Send(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t buffer[256] = {};
    ::GetClassNameW(window, buffer, 256);
    return buffer;
}

std::string RectJson(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

std::string ComboJson(HWND combo) {
    const auto count = Send(combo, CB_GETCOUNT, 0, 0);
    std::string entries;
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring entry(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(std::wstring(entry.c_str()).size());
        entries += (i > 0 ? "," : "") + Quoted(entry);
    }
    return "{\"selection\":" + std::to_string(Send(combo, CB_GETCURSEL, 0, 0)) + ",\"entries\":[" +
           entries + "]}";
}

std::string DumpJson(HWND window) {
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(window, &process);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    ::GetGUIThreadInfo(thread, &gui);
    const bool focusInside =
        gui.hwndFocus != nullptr && (gui.hwndFocus == window || ::IsChild(window, gui.hwndFocus));

    std::string json =
        "{\"title\":" + Quoted(TextOf(window)) + ",\"class\":" + Quoted(ClassOf(window)) +
        ",\"rect\":" + RectJson(window) +
        ",\"visible\":" + (::IsWindowVisible(window) ? "true" : "false") +
        ",\"enabled\":" + (::IsWindowEnabled(window) ? "true" : "false") +
        ",\"foreground\":" + (::GetForegroundWindow() == window ? "true" : "false") +
        ",\"focus\":" + (focusInside ? std::to_string(::GetDlgCtrlID(gui.hwndFocus)) : "null") +
        ",\"controls\":[";
    bool first = true;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring cls = ClassOf(child);
        json += std::string(first ? "" : ",") + "{\"id\":" + std::to_string(::GetDlgCtrlID(child)) +
                ",\"class\":" + Quoted(cls) + ",\"text\":" + Quoted(TextOf(child)) +
                ",\"style\":" + std::to_string(::GetWindowLongW(child, GWL_STYLE)) +
                ",\"rect\":" + RectJson(child);
        if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) json += ",\"combo\":" + ComboJson(child);
        json += "}";
        first = false;
    }
    return json + "]}";
}

struct Matching {
    const wchar_t* cls;
    const wchar_t* title;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM param) {
    auto* matching = reinterpret_cast<Matching*>(param);
    if (matching->cls != nullptr && ClassOf(window) != matching->cls) return TRUE;
    wchar_t title[512] = {};
    ::GetWindowTextW(window, title, 512);
    if (matching->title != nullptr && std::wstring_view(title) != matching->title) return TRUE;
    matching->windows.push_back(window);
    return TRUE;
}

int DumpAll(const wchar_t* cls, const wchar_t* title) {
    Matching matching{Pattern(cls), Pattern(title), {}};
    ::EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&matching));
    std::string json = "[";
    for (const HWND window : matching.windows) {
        json += (json.size() > 1 ? "," : "") + DumpJson(window);
    }
    PrintLine(json + "]");
    return 0;
}

// The system menu, read in the window's own process by kestrin_menu_probe.dll, which sends
// it back to a reply window; the report lands in the string the window's user data points to.
LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* report = reinterpret_cast<std::wstring*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && report != nullptr) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        report->assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        report->resize(std::wstring(report->c_str()).size());
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::wstring ProbePath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    return dir + L"kestrin_menu_probe.dll";
}

int Menu(HWND window) {
    HMODULE probe = ::LoadLibraryW(ProbePath().c_str());
    if (probe == nullptr) return 2;
    auto* hookProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(::GetProcAddress(probe, "KestrinMenuProbe")));
    if (hookProc == nullptr) return 2;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestrinInspectReply";
    ::RegisterClassExW(&wc);
    HWND reply = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
    std::wstring report;
    ::SetWindowLongPtrW(reply, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&report));

    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, hookProc, probe, thread);
    if (hook == nullptr) return 2;
    Send(window, ::RegisterWindowMessageW(L"KestrinMenuProbe"), 0, reinterpret_cast<LPARAM>(reply));
    ::UnhookWindowsHookEx(hook);

    std::string items;
    std::size_t start = 0;
    while (start < report.size()) {
        const std::size_t end = report.find(L'\n', start);
        const std::wstring line = report.substr(start, end - start);
        const std::size_t tab1 = line.find(L'\t');
        const std::size_t tab2 = line.find(L'\t', tab1 + 1);
        items += std::string(items.empty() ? "" : ",") +
                 "{\"type\":" + Quoted(line.substr(0, tab1)) +
                 ",\"id\":" + kestrin::wine_test::Utf8(line.substr(tab1 + 1, tab2 - tab1 - 1)) +
                 ",\"text\":" + Quoted(line.substr(tab2 + 1)) + "}";
        start = end == std::wstring::npos ? report.size() : end + 1;
    }
    PrintLine("{\"items\":[" + items + "]}");
    ::DestroyWindow(reply);
    return report.empty() ? 1 : 0;
}

std::wstring VersionString(const std::vector<BYTE>& data, const std::wstring& block,
                           const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\" + block + L"\\" + name;
    if (!::VerQueryValueW(data.data(), path.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const wchar_t*>(value);
}

int Version(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return 1;
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(file, 0, size, data.data())) return 1;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length);
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    ::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                     reinterpret_cast<void**>(&translation), &length);
    if (fixed == nullptr || translation == nullptr) return 1;

    wchar_t block[16];
    wsprintfW(block, L"%04x%04x", translation->language, translation->codePage);
    auto version = [](DWORD ms, DWORD ls) {
        return "\"" + std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." +
               std::to_string(HIWORD(ls)) + "." + std::to_string(LOWORD(ls)) + "\"";
    };
    std::string json =
        "{\"fileVersion\":" + version(fixed->dwFileVersionMS, fixed->dwFileVersionLS) +
        ",\"productVersion\":" + version(fixed->dwProductVersionMS, fixed->dwProductVersionLS) +
        ",\"fileType\":" + std::to_string(fixed->dwFileType) +
        ",\"language\":" + std::to_string(translation->language) +
        ",\"codePage\":" + std::to_string(translation->codePage);
    for (const wchar_t* name : {L"ProductName", L"FileDescription", L"FileVersion",
                                L"ProductVersion", L"OriginalFilename"}) {
        json += "," + Quoted(name) + ":" + Quoted(VersionString(data, block, name));
    }
    PrintLine(json + "}");
    return 0;
}

DWORD TimeoutArg(int argc, wchar_t** argv, int index) {
    return index < argc ? static_cast<DWORD>(std::wcstoul(argv[index], nullptr, 10)) : 10000;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring_view command = argv[1];
    if (command == L"version") return Version(argv[2]);
    if (argc < 4) return 2;
    if (command == L"dump-all") return DumpAll(argv[2], argv[3]);

    const bool post = command == L"post";
    HWND window = WaitForWindow(argv[2], argv[3], post ? 10000 : TimeoutArg(argc, argv, 4));
    if (window == nullptr) return 1;
    if (command == L"dump") {
        PrintLine(DumpJson(window));
        return 0;
    }
    if (command == L"menu") return Menu(window);
    if (command == L"set-text" && argc >= 6) {
        HWND control = ::GetDlgItem(window, static_cast<int>(std::wcstol(argv[4], nullptr, 0)));
        return control != nullptr &&
                       Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[5])) == TRUE
                   ? 0
                   : 1;
    }
    if (post && argc >= 7) {
        const int control = static_cast<int>(std::wcstol(argv[4], nullptr, 0));
        const auto message = static_cast<UINT>(std::wcstoul(argv[5], nullptr, 0));
        const auto wParam = static_cast<WPARAM>(std::wcstoull(argv[6], nullptr, 0));
        const auto lParam = argc >= 8 ? static_cast<LPARAM>(std::wcstoll(argv[7], nullptr, 0)) : 0;
        HWND target = control == 0 ? window : ::GetDlgItem(window, control);
        return target != nullptr && ::PostMessageW(target, message, wParam, lParam) ? 0 : 1;
    }
    return 2;
}
