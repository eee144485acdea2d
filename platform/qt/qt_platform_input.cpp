// Hot keys, the pointer, click bursts and the cursor.
#include "platform/qt/artwork.h"
#include "platform/qt/qt_platform.h"
#include "res/resource.h"

namespace kestrin::qt {
namespace {

constexpr CursorId kArrowCursor{32512};

}  // namespace

bool QtPlatform::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) {
    if (!m_hotKeys || FindDialog(window) == nullptr) return false;
    return m_hotKeys->Register(window, id, modifiers, vk);
}

bool QtPlatform::GetCursorPos(Point& screen) {
    return m_mouse && m_mouse->GetPointer(screen.x, screen.y);
}

bool QtPlatform::SetCursorPos(Point screen) {
    return m_mouse && m_mouse->SetPointer(screen.x, screen.y);
}

void QtPlatform::SendMouseBurst(std::span<const std::uint32_t> flags) {
    if (m_mouse) m_mouse->SendBurst(flags);
}

CursorId QtPlatform::LoadCursor(int resourceId) {
    if (resourceId != IDC_LINK_CURSOR) return CursorId::None;
    const auto id = static_cast<CursorId>(static_cast<std::uintptr_t>(resourceId));
    if (!m_cursors.contains(id)) m_cursors.emplace(id, LinkCursor());
    return id;
}

CursorId QtPlatform::SetCursor(CursorId cursor) {
    // The cursor shows over the dialog whose mouse message is being handled.
    Dialog* dialog = FindDialog(m_mouseDialog);
    if (dialog == nullptr) return CursorId::None;
    const CursorId previous = dialog->cursor == CursorId::None ? kArrowCursor : dialog->cursor;
    ApplyCursor(*dialog, cursor == CursorId::None ? kArrowCursor : cursor);
    return previous;
}

void QtPlatform::ApplyCursor(Dialog& dialog, CursorId cursor) {
    if (dialog.cursor == cursor) return;
    dialog.cursor = cursor;
    const auto it = m_cursors.find(cursor);
    if (it != m_cursors.end()) {
        dialog.window->setCursor(it->second);
    } else {
        dialog.window->setCursor(Qt::ArrowCursor);
    }
}

}  // namespace kestrin::qt
