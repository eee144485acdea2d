// Kestrin's name on the session bus, with the method a desktop keyboard shortcut calls to
// press a hot key:
//
//   name org.example.Kestrin (the application id), object /org/example/Kestrin,
//   interface org.example.Kestrin.HotKeys, method Press(s key), key "F3" or "F4"
//
// Owning the name is also the lock: a second Kestrin cannot own it, so its hot keys fail.
#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <functional>
#include <string>

namespace kestrin::qt::wl {

class BusHotKeys final : public QDBusVirtualObject {
  public:
    // Delivers a pressed key combination ("F3"); false when no window holds it.
    using Press = std::function<bool(const std::string& combo)>;

    // Owns the name and offers the object; Owned() tells whether the name could be had
    // (not when there is no session bus, or another copy owns it).
    BusHotKeys(const QString& name, Press press);
    ~BusHotKeys() override;
    BusHotKeys(const BusHotKeys&) = delete;
    BusHotKeys& operator=(const BusHotKeys&) = delete;

    bool Owned() const { return m_owned; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    QDBusConnection m_bus;
    QString m_name;
    QString m_path;
    QString m_interface;
    Press m_press;
    bool m_owned = false;
};

}  // namespace kestrin::qt::wl
