// Hot keys, the pointer, click bursts and the cursor.
#include <QEventLoop>
#include <utility>

#include "platform/qt/artwork.h"
#include "platform/qt/qt_platform.h"
#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

constexpr CursorId kArrowCursor{wm::ArrowCursor};

}  // namespace

bool QtPlatform::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) {
    if (!m_input || FindDialog(window) == nullptr) return false;
    const WindowId outer = std::exchange(m_registering, window);
    const bool registered = m_input->RegisterHotKey(window, id, modifiers, vk);
    m_registering = outer;
    return registered;
}

void QtPlatform::AwaitUser(QEventLoop& wait, const std::function<void()>& withdraw) {
    Dialog* dialog = FindDialog(m_registering);
    if (dialog == nullptr || m_awaiting) {
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    // The hot keys are registered as the window is set up, before its modal loop shows it: a
    // desktop that asks the user first (its shortcut dialog) could take any time, and a window
    // nowhere to be seen meanwhile could not even be closed. It shows now, as modal as its loop
    // will show it (which then finds it on screen).
    DialogWidget* window = dialog->window.get();
    window->setAttribute(Qt::WA_ShowModal, true);
    window->show();
    m_awaiting = Awaiting{dialog->id, &withdraw};
    wait.exec();
    m_awaiting.reset();
}

bool QtPlatform::GetCursorPos(Point& screen) {
    return m_input && m_input->GetPointer(screen);
}

bool QtPlatform::SetCursorPos(Point screen) {
    return m_input && m_input->SetPointer(screen);
}

void QtPlatform::SendMouseBurst(std::span<const std::uint32_t> flags) {
    if (m_input) m_input->SendBurst(flags);
}

CursorId QtPlatform::LoadCursor(int resourceId) {
    return LoadArtwork(resourceId, platform::ArtworkResource::Kind::Cursor, m_cursors,
                       CursorFromArtwork);
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
