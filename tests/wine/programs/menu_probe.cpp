// kestrin_menu_probe.dll: read a window's system menu from inside its own process.
//
// The inspector installs KestrinMenuProbe as a WH_CALLWNDPROC hook on the window's thread and
// sends the window the registered message "KestrinMenuProbe" with its reply window in lParam.
// The hook, now running in the window's process, lists the system menu's items and sends them
// back in a WM_COPYDATA: one line per item, "<type>\t<id>\t<text>", type "separator" or
// "string".
#include <windows.h>

#include <string>

namespace {

std::wstring DescribeSystemMenu(HWND window) {
    std::wstring report;
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (menu == nullptr) return report;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        report += (info.fType & MFT_SEPARATOR) != 0 ? L"separator" : L"string";
        report += L"\t" + std::to_wstring(info.wID) + L"\t" + text + L"\n";
    }
    return report;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    KestrinMenuProbe(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = ::RegisterWindowMessageW(L"KestrinMenuProbe");
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == probeMessage) {
            const std::wstring report = DescribeSystemMenu(call->hwnd);
            COPYDATASTRUCT data{};
            data.dwData = 1;
            data.cbData = static_cast<DWORD>((report.size() + 1) * sizeof(wchar_t));
            data.lpData = const_cast<wchar_t*>(report.c_str());
            ::SendMessageW(reinterpret_cast<HWND>(call->lParam), WM_COPYDATA,
                           reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
