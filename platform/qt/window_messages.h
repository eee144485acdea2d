// The Windows message numbers, flags and keys the Qt backend produces or understands.
// The framework speaks Windows' values (see platform/platform.h); these are the same numbers.
#pragma once

#include <cstdint>

namespace kestrin::qt::wm {

inline constexpr unsigned Paint = 0x000F;
inline constexpr unsigned IconEraseBackground = 0x0027;
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

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;

inline constexpr unsigned ScMinimize = 0xF020;
inline constexpr unsigned ScClose = 0xF060;

inline constexpr unsigned MfSeparator = 0x0800;

// Key-state flags of mouse messages.
inline constexpr unsigned MkLButton = 0x0001;
inline constexpr unsigned MkRButton = 0x0002;
inline constexpr unsigned MkShift = 0x0004;
inline constexpr unsigned MkControl = 0x0008;
inline constexpr unsigned MkMButton = 0x0010;

// Mouse-event flags of a click burst.
inline constexpr std::uint32_t MouseLeftDown = 0x0002;
inline constexpr std::uint32_t MouseLeftUp = 0x0004;
inline constexpr std::uint32_t MouseRightDown = 0x0008;
inline constexpr std::uint32_t MouseRightUp = 0x0010;

// Virtual keys the dialog manager acts on.
inline constexpr unsigned VkTab = 0x09;
inline constexpr unsigned VkReturn = 0x0D;
inline constexpr unsigned VkEscape = 0x1B;
inline constexpr unsigned VkSpace = 0x20;

// RegisterHotKey modifiers.
inline constexpr unsigned ModAlt = 0x0001;
inline constexpr unsigned ModControl = 0x0002;
inline constexpr unsigned ModShift = 0x0004;
inline constexpr unsigned ModWin = 0x0008;

// System metrics.
inline constexpr int SmCxIcon = 11;
inline constexpr int SmCyIcon = 12;

}  // namespace kestrin::qt::wm
