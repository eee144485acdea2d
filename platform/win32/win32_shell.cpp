// The executable's name, the common controls, and opening addresses.
#include <windows.h>
// These build on <windows.h>.
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/conversions.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

std::u16string Win32Platform::ExecutableName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return u"kestrin";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.resize(dot);
    return FromWide(name);
}

bool Win32Platform::InitCommonControls(std::uint32_t recordSize, std::uint32_t classes) {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = recordSize;
    init.dwICC = classes;
    return ::InitCommonControlsEx(&init) != FALSE;
}

void Win32Platform::ShellOpen(std::u16string_view address) {
    const std::wstring file = ToWide(address);
    ::ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kestrin::win32
