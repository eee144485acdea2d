// The message numbers, flags, keys and cursor ids that pass between the framework and its
// backends: Windows' own values, defined here once. The framework gives them their Windows
// names (platform/framework/afxdefs.h); the Windows backend checks each against <windows.h>
// (platform/win32/window_values_check.cpp).
#pragma once

#include <cstdint>

namespace kestrin::wm {

// Window messages.
inline constexpr unsigned Paint = 0x000F;
inline constexpr unsigned Close = 0x0010;
inline constexpr unsigned IconEraseBackground = 0x0027;
inline constexpr unsigned QueryDragIcon = 0x0037;
inline constexpr unsigned SetIcon = 0x0080;
inline constexpr unsigned KeyDown = 0x0100;
inline constexpr unsigned KeyUp = 0x0101;
inline constexpr unsigned Char = 0x0102;
inline constexpr unsigned SysKeyDown = 0x0104;
inline constexpr unsigned SysKeyUp = 0x0105;
inline constexpr unsigned SysChar = 0x0106;
inline constexpr unsigned Command = 0x0111;
inline constexpr unsigned SysCommand = 0x0112;
inline constexpr unsigned Timer = 0x0113;
inline constexpr unsigned MouseMove = 0x0200;
inline constexpr unsigned LButtonDown = 0x0201;
inline constexpr unsigned LButtonUp = 0x0202;
inline constexpr unsigned RButtonDown = 0x0204;
inline constexpr unsigned RButtonUp = 0x0205;
inline constexpr unsigned MButtonDown = 0x0207;
inline constexpr unsigned MButtonUp = 0x0208;
inline constexpr unsigned HotKey = 0x0312;

// Dialog results and commands.
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr unsigned IdHelp = 0xE146;  // the framework's own, not in <windows.h>
inline constexpr unsigned ScMinimize = 0xF020;
inline constexpr unsigned ScClose = 0xF060;

// Virtual keys.
inline constexpr unsigned VkBack = 0x08;
inline constexpr unsigned VkTab = 0x09;
inline constexpr unsigned VkReturn = 0x0D;
inline constexpr unsigned VkEscape = 0x1B;
inline constexpr unsigned VkSpace = 0x20;
inline constexpr unsigned VkF3 = 0x72;
inline constexpr unsigned VkF4 = 0x73;

// Key-state flags of mouse messages.
inline constexpr unsigned MkLButton = 0x0001;
inline constexpr unsigned MkRButton = 0x0002;
inline constexpr unsigned MkShift = 0x0004;
inline constexpr unsigned MkControl = 0x0008;
inline constexpr unsigned MkMButton = 0x0010;

// RegisterHotKey modifiers.
inline constexpr unsigned ModAlt = 0x0001;
inline constexpr unsigned ModControl = 0x0002;
inline constexpr unsigned ModShift = 0x0004;
inline constexpr unsigned ModWin = 0x0008;

// Mouse-event flags of a click burst.
inline constexpr std::uint32_t MouseLeftDown = 0x0002;
inline constexpr std::uint32_t MouseLeftUp = 0x0004;
inline constexpr std::uint32_t MouseRightDown = 0x0008;
inline constexpr std::uint32_t MouseRightUp = 0x0010;

// Menus, message boxes, system metrics, shell, common controls.
inline constexpr unsigned MfString = 0x0000;
inline constexpr unsigned MfSeparator = 0x0800;
inline constexpr unsigned MbOk = 0x0000;
inline constexpr int SmCxIcon = 11;
inline constexpr int SmCyIcon = 12;
inline constexpr int SwShowNormal = 1;
inline constexpr std::uint32_t IccWin95Classes = 0x00FF;

// The system's arrow cursor (IDC_ARROW).
inline constexpr std::uintptr_t ArrowCursor = 32512;

}  // namespace kestrin::wm
