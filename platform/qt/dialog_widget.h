// The Qt window of a framework dialog. Dialog keys (Enter, Esc, Tab) and the close box are
// not Qt's business here: they reach the framework as messages, through the platform.
#pragma once

#include <QDialog>
#include <functional>

namespace kestrin::qt {

class DialogWidget final : public QDialog {
  public:
    struct Handlers {
        std::function<void()> closeBox;  // the window manager's close button
        std::function<void()> paint;     // a paint event, before anything is drawn
    };

    DialogWidget(QWidget* owner, Qt::WindowFlags flags);
    void SetHandlers(Handlers handlers) { m_handlers = std::move(handlers); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    Handlers m_handlers;
};

}  // namespace kestrin::qt
