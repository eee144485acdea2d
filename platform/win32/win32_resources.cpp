// Icons, painting and the system menu.
#include <windows.h>

#include <string>

#include "platform/win32/conversions.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

IconId Win32Platform::LoadIcon(int resourceId) {
    return ToId<IconId>(::LoadIconW(m_instance, MAKEINTRESOURCEW(resourceId)));
}

void Win32Platform::SetIcon(WindowId window, IconId icon, bool big) {
    ::SendMessageW(ToHwnd(window), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                   static_cast<LPARAM>(icon));
}

int Win32Platform::GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

PaintId Win32Platform::BeginPaint(WindowId window) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(ToHwnd(window), &paint);
    if (dc == nullptr) return PaintId::None;
    m_paints[dc] = paint;
    return ToId<PaintId>(dc);
}

void Win32Platform::EndPaint(WindowId window, PaintId paint) {
    const auto found = m_paints.find(ToHandle<HDC>(paint));
    if (found == m_paints.end()) return;
    ::EndPaint(ToHwnd(window), &found->second);
    m_paints.erase(found);
}

void Win32Platform::DrawIcon(PaintId paint, int x, int y, IconId icon) {
    ::DrawIcon(ToHandle<HDC>(paint), x, y, ToHandle<HICON>(icon));
}

MenuId Win32Platform::GetSystemMenu(WindowId window, bool revert) {
    return ToId<MenuId>(::GetSystemMenu(ToHwnd(window), revert ? TRUE : FALSE));
}

bool Win32Platform::AppendMenu(MenuId menu, unsigned flags, std::uintptr_t id,
                               std::u16string_view text) {
    const std::wstring item = ToWide(text);
    const wchar_t* itemText = (flags & MF_SEPARATOR) != 0 ? nullptr : item.c_str();
    return ::AppendMenuW(ToHandle<HMENU>(menu), flags, id, itemText) != FALSE;
}

}  // namespace kestrin::win32
