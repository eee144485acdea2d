#include "platform/qt/system_menu.h"

#include <QAction>
#include <QString>

#include "platform/window_values.h"

namespace kestrin::qt {

SystemMenu::SystemMenu(bool withMinimize, std::function<void(std::uintptr_t)> chosen)
    : m_menu(std::make_unique<QMenu>()), m_chosen(std::move(chosen)) {
    if (withMinimize) Append(0, wm::ScMinimize, u"最小化(&N)");
    Append(0, wm::ScClose, u"关闭(&C)");
}

SystemMenu::~SystemMenu() = default;

bool SystemMenu::Append(unsigned flags, std::uintptr_t id, std::u16string_view text) {
    if ((flags & wm::MfSeparator) != 0) {
        m_menu->addSeparator();
        return true;
    }
    QAction* action =
        m_menu->addAction(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    QObject::connect(action, &QAction::triggered, m_menu.get(), [this, id] { m_chosen(id); });
    return true;
}

void SystemMenu::Popup(QPoint screen) {
    m_menu->popup(screen);
}

bool SystemMenu::IsOpen() const {
    return m_menu->isVisible();
}

}  // namespace kestrin::qt
