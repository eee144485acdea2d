// Icons, minimised painting, the system menu and opening addresses.
#include <QPainter>
#include <QProcess>

#include "platform/qt/artwork.h"
#include "platform/qt/qt_platform.h"
#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

constexpr int kIconSize = 32;  // SM_CXICON, SM_CYICON

}  // namespace

IconId QtPlatform::LoadIcon(int resourceId) {
    return LoadArtwork(resourceId, platform::ArtworkResource::Kind::Icon, m_icons, IconFromArtwork);
}

void QtPlatform::SetIcon(WindowId window, IconId icon, bool) {
    // X11 windows carry one icon list (_NET_WM_ICON) with every size; the window manager
    // picks the big or small image from it.
    QWidget* widget = WidgetOf(window);
    const auto it = m_icons.find(icon);
    if (widget != nullptr && it != m_icons.end()) widget->setWindowIcon(it->second);
}

int QtPlatform::GetSystemMetrics(int index) {
    return index == wm::SmCxIcon || index == wm::SmCyIcon ? kIconSize : 0;
}

void QtPlatform::OnPaintEvent(Dialog& dialog) {
    // The framework paints only a minimised window (its icon), and Qt does not paint those;
    // otherwise default processing, Qt's own painting, draws everything.
    m_painting.dialog = dialog.id;
    dialog.host->Dispatch({dialog.id, wm::Paint, 0, 0});
    m_painting.painter.reset();
    m_painting.dialog = WindowId::None;
}

PaintId QtPlatform::BeginPaint(WindowId window) {
    Dialog* dialog = FindDialog(window);
    // A painter can only be opened from within the window's paint event.
    if (dialog == nullptr || m_painting.dialog != window) return PaintId::None;
    if (!m_painting.painter) m_painting.painter = std::make_unique<QPainter>(dialog->window.get());
    return static_cast<PaintId>(static_cast<std::uintptr_t>(window));
}

void QtPlatform::EndPaint(WindowId window, PaintId paint) {
    if (paint != PaintId::None && m_painting.dialog == window) m_painting.painter.reset();
}

void QtPlatform::DrawIcon(PaintId paint, int x, int y, IconId icon) {
    const auto it = m_icons.find(icon);
    if (paint == PaintId::None || !m_painting.painter || it == m_icons.end()) return;
    m_painting.painter->drawPixmap(x, y, it->second.pixmap(kIconSize, kIconSize));
}

platform::MenuId QtPlatform::GetSystemMenu(WindowId window, bool) {
    Dialog* dialog = FindDialog(window);
    if (dialog == nullptr || !dialog->systemMenu) return MenuId::None;
    return static_cast<MenuId>(static_cast<std::uintptr_t>(window));
}

bool QtPlatform::AppendMenu(MenuId menu, unsigned flags, std::uintptr_t id,
                            std::u16string_view text) {
    Dialog* dialog = FindDialog(static_cast<WindowId>(static_cast<std::uintptr_t>(menu)));
    if (dialog == nullptr || !dialog->systemMenu) return false;
    return dialog->systemMenu->Append(flags, id, text);
}

void QtPlatform::ShellOpen(std::u16string_view address) {
    // The desktop's default handler, started directly: no shell ever sees the address.
    QProcess::startDetached(
        QStringLiteral("xdg-open"),
        {QString::fromUtf16(address.data(), static_cast<qsizetype>(address.size()))});
}

}  // namespace kestrin::qt
