// Hot keys, the pointer, and mouse-button bursts.
#include <windows.h>

#include <vector>

#include "platform/win32/conversions.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

bool Win32Platform::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) {
    HWND hwnd = ToHwnd(window);
    if (!::RegisterHotKey(hwnd, id, modifiers, vk)) return false;
    if (Dialog* dialog = FindDialog(hwnd)) dialog->hotKeys.push_back(id);
    return true;
}

bool Win32Platform::GetCursorPos(Point& screen) {
    POINT p{};
    if (!::GetCursorPos(&p)) return false;
    screen = {p.x, p.y};
    return true;
}

bool Win32Platform::SetCursorPos(Point screen) {
    return ::SetCursorPos(screen.x, screen.y) != FALSE;
}

void Win32Platform::SendMouseBurst(std::span<const std::uint32_t> flags) {
    // One SendInput call: the system inserts the events together, uninterrupted by other
    // input, so no burst is ever left with a button down.
    std::vector<INPUT> inputs(flags.size());
    for (std::size_t i = 0; i < flags.size(); ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi = MOUSEINPUT{0, 0, 0, flags[i], 0, 0};
    }
    if (!inputs.empty()) {
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

CursorId Win32Platform::LoadCursor(int resourceId) {
    return ToId<CursorId>(::LoadCursorW(m_instance, MAKEINTRESOURCEW(resourceId)));
}

CursorId Win32Platform::SetCursor(CursorId cursor) {
    return ToId<CursorId>(::SetCursor(ToHandle<HCURSOR>(cursor)));
}

}  // namespace kestrin::win32
