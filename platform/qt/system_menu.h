// A dialog's system menu. On X11 the window manager owns the title bar's menu, so this is a
// popup of our own, opened with Alt+Space or a right click on the dialog's background.
#pragma once

#include <QMenu>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace kestrin::qt {

class SystemMenu {
  public:
    // `chosen` receives the command identifier of the item the user picks.
    SystemMenu(bool withMinimize, std::function<void(std::uintptr_t)> chosen);
    ~SystemMenu();
    SystemMenu(const SystemMenu&) = delete;
    SystemMenu& operator=(const SystemMenu&) = delete;

    // AppendMenu: MF_SEPARATOR adds a separator; otherwise a text item ("&" marks the
    // mnemonic) sending `id`.
    bool Append(unsigned flags, std::uintptr_t id, std::u16string_view text);
    void Popup(QPoint screen);
    bool IsOpen() const;

  private:
    std::unique_ptr<QMenu> m_menu;
    std::function<void(std::uintptr_t)> m_chosen;
};

}  // namespace kestrin::qt
