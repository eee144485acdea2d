// The click timer: see click_timers.h.
#include <windows.h>

#include "platform/win32/conversions.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

bool Win32Platform::SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) {
    return m_timers.Set(ToHwnd(window), id, periodMs);
}

bool Win32Platform::KillTimer(WindowId window, std::uintptr_t id) {
    return m_timers.Kill(ToHwnd(window), id);
}

}  // namespace kestrin::win32
