// The framework's Windows-style names: basic types, message numbers, flags.
// The values are defined once, in platform/window_values.h.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/window_values.h"

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
inline constexpr UINT WM_PAINT = kestrin::wm::Paint;
inline constexpr UINT WM_CLOSE = kestrin::wm::Close;
inline constexpr UINT WM_QUERYDRAGICON = kestrin::wm::QueryDragIcon;
inline constexpr UINT WM_ICONERASEBKGND = kestrin::wm::IconEraseBackground;
inline constexpr UINT WM_SETICON = kestrin::wm::SetIcon;
inline constexpr UINT WM_KEYDOWN = kestrin::wm::KeyDown;
inline constexpr UINT WM_KEYUP = kestrin::wm::KeyUp;
inline constexpr UINT WM_CHAR = kestrin::wm::Char;
inline constexpr UINT WM_COMMAND = kestrin::wm::Command;
inline constexpr UINT WM_SYSCOMMAND = kestrin::wm::SysCommand;
inline constexpr UINT WM_TIMER = kestrin::wm::Timer;
inline constexpr UINT WM_MOUSEMOVE = kestrin::wm::MouseMove;
inline constexpr UINT WM_LBUTTONDOWN = kestrin::wm::LButtonDown;
inline constexpr UINT WM_LBUTTONUP = kestrin::wm::LButtonUp;
inline constexpr UINT WM_RBUTTONDOWN = kestrin::wm::RButtonDown;
inline constexpr UINT WM_RBUTTONUP = kestrin::wm::RButtonUp;
inline constexpr UINT WM_HOTKEY = kestrin::wm::HotKey;

// Dialog results and commands.
inline constexpr int IDOK = kestrin::wm::IdOk;
inline constexpr int IDCANCEL = kestrin::wm::IdCancel;
inline constexpr UINT ID_HELP = kestrin::wm::IdHelp;
inline constexpr UINT SC_MINIMIZE = kestrin::wm::ScMinimize;
inline constexpr UINT SC_CLOSE = kestrin::wm::ScClose;

// Virtual keys.
inline constexpr UINT VK_TAB = kestrin::wm::VkTab;
inline constexpr UINT VK_RETURN = kestrin::wm::VkReturn;
inline constexpr UINT VK_ESCAPE = kestrin::wm::VkEscape;
inline constexpr UINT VK_F3 = kestrin::wm::VkF3;
inline constexpr UINT VK_F4 = kestrin::wm::VkF4;

// Key-state flags of mouse messages.
inline constexpr UINT MK_LBUTTON = kestrin::wm::MkLButton;
inline constexpr UINT MK_RBUTTON = kestrin::wm::MkRButton;
inline constexpr UINT MK_SHIFT = kestrin::wm::MkShift;
inline constexpr UINT MK_CONTROL = kestrin::wm::MkControl;

// Mouse-event flags.
inline constexpr DWORD MOUSEEVENTF_LEFTDOWN = kestrin::wm::MouseLeftDown;
inline constexpr DWORD MOUSEEVENTF_LEFTUP = kestrin::wm::MouseLeftUp;
inline constexpr DWORD MOUSEEVENTF_RIGHTDOWN = kestrin::wm::MouseRightDown;
inline constexpr DWORD MOUSEEVENTF_RIGHTUP = kestrin::wm::MouseRightUp;

// Menus, message boxes, system metrics, shell, common controls.
inline constexpr UINT MF_STRING = kestrin::wm::MfString;
inline constexpr UINT MF_SEPARATOR = kestrin::wm::MfSeparator;
inline constexpr UINT MB_OK = kestrin::wm::MbOk;
inline constexpr int SM_CXICON = kestrin::wm::SmCxIcon;
inline constexpr int SM_CYICON = kestrin::wm::SmCyIcon;
inline constexpr int SW_SHOWNORMAL = kestrin::wm::SwShowNormal;
inline constexpr DWORD ICC_WIN95_CLASSES = kestrin::wm::IccWin95Classes;

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
