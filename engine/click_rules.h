// The click cycle's rules: timer period, the button events of one tick, the count label.
#pragma once

#include <span>

#include "platform/framework/afxdefs.h"
#include "platform/framework/cstring.h"

// Selection index of the click-mode list.
enum ClickMode { LeftDouble = 0, LeftSingle = 1, RightDouble = 2, RightSingle = 3 };
// Selection index of the unit list; anything but PerSecond (no selection too) is seconds.
enum RateUnit { PerSecond = 0, SecondsPerClick = 1 };

inline constexpr int HOTKEY_START = 1001;  // F3
inline constexpr int HOTKEY_STOP = 1002;   // F4
inline constexpr UINT_PTR TIMER_CLICK = 1;
// Above this many clicks per second the label stops showing each count.
inline constexpr int FAST_DISPLAY_LIMIT = 30;

// Timer period in milliseconds for a rate of 1 to RATE_MAX in the given unit.
UINT ClickPeriodMs(int rate, int unit);

// The button events one tick sends for a click mode; none for no selection.
std::span<const DWORD> BurstFor(int mode);

// Label text when the clicker starts.
CString CountResetText();
// Label text after a counted tick.
CString CountText(int count);
// Label text when clicks come too fast to show each count.
CString CountTooFastText();

// True when, at this rate and unit, the label shows only the too-fast text.
bool TooFastToShow(int rate, int unit);

// The count after one more tick; it stops at the largest value instead of overflowing.
int NextCount(int count);
