// The framework's Windows-style names: basic types, message numbers, flags.
// Values are those of Windows, so messages mean the same on every backend.
#pragma once

#include <cstdint>

#include "platform/platform.h"

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HWND = kestrin::platform::WindowId;
using HICON = kestrin::platform::IconId;
using HCURSOR = kestrin::platform::CursorId;
using HMENU = kestrin::platform::MenuId;
using HDC = kestrin::platform::PaintId;
using MSG = kestrin::platform::Message;

// Window messages.
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_ICONERASEBKGND = 0x0027;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_HOTKEY = 0x0312;

// Dialog results and commands.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr UINT ID_HELP = 0xE146;
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_CLOSE = 0xF060;

// Virtual keys.
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_F3 = 0x72;
inline constexpr UINT VK_F4 = 0x73;

// Key-state flags of mouse messages.
inline constexpr UINT MK_LBUTTON = 0x0001;
inline constexpr UINT MK_RBUTTON = 0x0002;
inline constexpr UINT MK_SHIFT = 0x0004;
inline constexpr UINT MK_CONTROL = 0x0008;

// Mouse-event flags.
inline constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
inline constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;
inline constexpr DWORD MOUSEEVENTF_RIGHTDOWN = 0x0008;
inline constexpr DWORD MOUSEEVENTF_RIGHTUP = 0x0010;

// Menus, message boxes, system metrics, shell, common controls.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MB_OK = 0x0000;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr DWORD ICC_WIN95_CLASSES = 0x00FF;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};

inline int GET_X_LPARAM(LPARAM lp) {
    return static_cast<std::int16_t>(lp & 0xFFFF);
}
inline int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<std::int16_t>((lp >> 16) & 0xFFFF);
}
inline LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(hi & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(lo & 0xFFFF));
}

struct CPoint : kestrin::platform::Point {
    CPoint() = default;
    CPoint(int px, int py) : Point{px, py} {}
    explicit CPoint(Point p) : Point(p) {}
};

struct CRect : kestrin::platform::Rect {
    CRect() = default;
    explicit CRect(Rect r) : Rect(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
