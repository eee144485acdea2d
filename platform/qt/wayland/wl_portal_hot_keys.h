// Global hot keys through the desktop portal's GlobalShortcuts (KDE Plasma, GNOME 48 and
// later, Hyprland): one session binding the shortcuts "start" and "stop", F3 and F4 as the
// preferred triggers. The desktop shows its shortcut dialog for shortcuts it does not know yet
// (GNOME, Plasma 6.4 and later); whatever keys the user binds there work as bound, and a
// declined shortcut is not bound. Plasma 6.0 to 6.3 open their settings page at every
// BindShortcuts: where Plasma binds the shortcuts given at CreateSession (5.27) or lists them
// as bound from an earlier run (6.0 to 6.3), it is not asked again. Activated delivers a
// shortcut; the portal sends it to every listener, so activations of other sessions are
// ignored. A session the portal takes with it is made again; one the desktop closes is lost.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/qt/wayland/wl_portal.h"

namespace kestrin::qt::wl {

class PortalHotKeys {
  public:
    // Called with the key a shortcut stands for ("F3" for "start") each time it fires.
    using Pressed = std::function<void(const std::string& key)>;

    // Called when the portal took the bound shortcuts with it and they could not be had again.
    using Lost = std::function<void()>;

    // `version` is the portal's GlobalShortcuts version. `awaitUser` runs the wait for the
    // user's answer in the desktop's shortcut dialog, with no limit, and may withdraw it.
    PortalHotKeys(Portal& portal, unsigned version, Pressed pressed, Lost lost,
                  Portal::Wait awaitUser);
    ~PortalHotKeys();
    PortalHotKeys(const PortalHotKeys&) = delete;
    PortalHotKeys& operator=(const PortalHotKeys&) = delete;

    // Whether the shortcut for `key` ("F3", "F4") is bound. The first call binds both,
    // waiting for the desktop's answer (the user may have a dialog to answer).
    bool Bind(const std::string& key);

  private:
    // Binds both in a new session (saying so), the ids of those bound.
    std::set<QString> BindAll();
    std::set<QString> Ask();
    // The ids of the shortcuts listed in a request's results.
    static std::set<QString> IdsIn(const QVariantMap& results);
    void Activated(const QDBusMessage& message);
    // Lets go of the session (closed by the desktop, taken by the portal, or ours ending): its
    // path, empty when there was none.
    QString Ended();
    // Binds the shortcuts again in a new session (the desktop keeps them: no dialog).
    void BindAgain();

    Portal& m_portal;
    unsigned m_version;
    Pressed m_pressed;
    Lost m_lost;
    Portal::Wait m_awaitUser;
    QString m_session;
    std::optional<std::set<QString>> m_bound;  // the shortcut ids, once asked
};

}  // namespace kestrin::qt::wl
