// System-wide hot keys: passive key grabs on the root window, one for every combination of
// the lock modifiers, so CapsLock, NumLock and ScrollLock do not matter.
#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/x11/x11_keyboard.h"

namespace kestrin::qt {

// The grabs of one key with one set of modifiers, released when this goes.
class KeyGrab {
  public:
    // Grabs every lock combination, checking each; nullptr when another client holds any of
    // them, in which case the grabs that did succeed have been released again.
    static std::unique_ptr<KeyGrab> Grab(xcb_connection_t* connection, xcb_window_t root,
                                         xcb_keycode_t key, std::uint16_t modifiers,
                                         const LockMasks& locks);
    // Holds no grab yet; Grab() adds them.
    KeyGrab(xcb_connection_t* connection, xcb_window_t root, xcb_keycode_t key,
            std::uint16_t modifiers);
    ~KeyGrab();
    KeyGrab(const KeyGrab&) = delete;
    KeyGrab& operator=(const KeyGrab&) = delete;

    xcb_keycode_t Key() const { return m_key; }
    std::uint16_t Modifiers() const { return m_modifiers; }

  private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    xcb_keycode_t m_key;
    std::uint16_t m_modifiers;
    std::vector<std::uint16_t> m_grabbed;  // modifier sets actually grabbed
};

class HotKeys final : public QAbstractNativeEventFilter {
  public:
    using Fire = std::function<void(platform::WindowId window, int id)>;

    HotKeys(xcb_connection_t* connection, Fire fire);
    ~HotKeys() override;
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;

    // RegisterHotKey: MOD_ALT/CONTROL/SHIFT/WIN modifiers and a virtual key. False when the
    // key cannot be grabbed (another client holds it, or we hold it already).
    bool Register(platform::WindowId window, int id, unsigned modifiers, unsigned vk);
    // Releases the window's hot keys.
    void ReleaseWindow(platform::WindowId window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    struct Registration {
        platform::WindowId window;
        int id;
        std::unique_ptr<KeyGrab> grab;
    };

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    Fire m_fire;
    std::vector<Registration> m_registrations;
};

}  // namespace kestrin::qt
