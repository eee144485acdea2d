#include "platform/qt/x11/x11_input.h"

#include <QWidget>

#include "platform/qt/x11/x11_hot_keys.h"
#include "platform/qt/x11/x11_mouse.h"
#include "platform/qt/x11/x11_window_text.h"
#include "platform/qt/x11/x11_xkb_state_events.h"

namespace kestrin::qt {
namespace {

class X11Input final : public InputLayer {
  public:
    X11Input(QGuiApplication& app, xcb_connection_t* connection, HotKeyFired fire)
        : m_app(app), m_hotKeys(connection, std::move(fire)), m_texts(connection) {
        m_app.installNativeEventFilter(&m_hotKeys);
        IgnorePointerButtonStateEvents(connection);
    }
    ~X11Input() override { m_app.removeNativeEventFilter(&m_hotKeys); }
    X11Input(const X11Input&) = delete;
    X11Input& operator=(const X11Input&) = delete;

    std::string Describe() const override { return "x11"; }

    void SendBurst(std::span<const std::uint32_t> flags) override { m_mouse.SendBurst(flags); }

    bool RegisterHotKey(platform::WindowId window, int id, unsigned modifiers,
                        unsigned vk) override {
        return m_hotKeys.Register(window, id, modifiers, vk);
    }
    void ReleaseHotKeys(platform::WindowId window) override { m_hotKeys.ReleaseWindow(window); }

    bool GetPointer(platform::Point& screen) override {
        int x = 0;
        int y = 0;
        if (!m_mouse.GetPointer(x, y)) return false;
        screen = {x, y};
        return true;
    }
    bool SetPointer(platform::Point screen) override {
        return m_mouse.SetPointer(screen.x, screen.y);
    }

    void PublishWindowText(QWidget& window, const QString& text) override {
        m_texts.WindowText(static_cast<xcb_window_t>(window.winId()), text);
    }
    void PublishControlText(QWidget& dialog, int controlId, const QString& text) override {
        m_texts.ControlText(static_cast<xcb_window_t>(dialog.winId()), controlId, text);
    }

  private:
    QGuiApplication& m_app;
    HotKeys m_hotKeys;
    MouseInjector m_mouse;
    WindowTextPublisher m_texts;
};

}  // namespace

std::unique_ptr<InputLayer> CreateX11Input(QGuiApplication& app, InputLayer::HotKeyFired fire) {
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return nullptr;
    return std::make_unique<X11Input>(app, x11->connection(), std::move(fire));
}

}  // namespace kestrin::qt
