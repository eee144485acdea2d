// Message boxes: MessageBoxW, whose own loop dispatches our ticks (posted meanwhile, and
// taken through the dialog class's window procedure) and pre-translates nothing.
#include <windows.h>

#include "platform/win32/conversions.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

int Win32Platform::MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                              unsigned type) {
    const ForeignLoopScope loop(m_timers);
    return ::MessageBoxW(ToHwnd(owner), ToWide(text).c_str(), ToWide(caption).c_str(), type);
}

}  // namespace kestrin::win32
