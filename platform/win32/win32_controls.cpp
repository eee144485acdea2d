// Control texts, rectangles and combo boxes.
#include <windows.h>

#include <string>

#include "platform/win32/conversions.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

WindowId Win32Platform::GetDlgItem(WindowId dialog, int controlId) {
    // The data exchange looks a control up at every message, ticks included; ::GetDlgItem
    // lists the dialog's children each time (a round trip to the window server under Wine),
    // so our dialogs remember what they found while it is still their control.
    HWND hwnd = ToHwnd(dialog);
    Dialog* ours = FindDialog(hwnd);
    if (ours != nullptr) {
        const auto found = ours->items.find(controlId);
        if (found != ours->items.end() && ::GetParent(found->second) == hwnd &&
            ::GetDlgCtrlID(found->second) == controlId) {
            return ToWindowId(found->second);
        }
    }
    HWND item = ::GetDlgItem(hwnd, controlId);
    if (ours != nullptr && item != nullptr) ours->items[controlId] = item;
    return ToWindowId(item);
}

std::u16string Win32Platform::GetWindowText(WindowId window) {
    HWND hwnd = ToHwnd(window);
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return FromWide(text);
}

void Win32Platform::SetWindowText(WindowId window, std::u16string_view text) {
    ::SetWindowTextW(ToHwnd(window), ToWide(text).c_str());
}

Rect Win32Platform::GetWindowRect(WindowId window) {
    RECT r{};
    ::GetWindowRect(ToHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

Rect Win32Platform::GetClientRect(WindowId window) {
    RECT r{};
    ::GetClientRect(ToHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

Point Win32Platform::ScreenToClient(WindowId window, Point screen) {
    POINT p{screen.x, screen.y};
    ::ScreenToClient(ToHwnd(window), &p);
    return {p.x, p.y};
}

bool Win32Platform::IsIconic(WindowId window) {
    return ::IsIconic(ToHwnd(window)) != FALSE;
}

int Win32Platform::ComboAddString(WindowId combo, std::u16string_view text) {
    // A CBS_SORT list inserts the entry in its sorted place.
    const std::wstring entry = ToWide(text);
    return static_cast<int>(
        ::SendMessageW(ToHwnd(combo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str())));
}

int Win32Platform::ComboGetCurSel(WindowId combo) {
    return static_cast<int>(::SendMessageW(ToHwnd(combo), CB_GETCURSEL, 0, 0));
}

int Win32Platform::ComboSetCurSel(WindowId combo, int index) {
    return static_cast<int>(
        ::SendMessageW(ToHwnd(combo), CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

}  // namespace kestrin::win32
