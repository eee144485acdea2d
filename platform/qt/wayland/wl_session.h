// What the Wayland session offers Kestrin, asked before Qt starts, so that main() can choose
// the Qt platform: native Wayland where Kestrin can click or the desktop portal can, XWayland
// where neither could.
#pragma once

#include <optional>

namespace kestrin::qt::wl {

enum class WaylandSession {
    Absent,       // $WAYLAND_DISPLAY is not set
    Unreachable,  // it is set, but no compositor answers there
    NoClicks,     // the compositor offers no virtual pointer (KDE Plasma, GNOME)
    Clicks,       // it offers zwlr_virtual_pointer_manager_v1 (sway and the wlroots family)
};

// Asks on a connection of its own, closed again. Needs no Qt.
WaylandSession ProbeWaylandSession();

// The interface versions of the desktop portal on the session bus; 0 where it has none.
struct PortalVersions {
    unsigned remoteDesktop = 0;    // org.freedesktop.portal.RemoteDesktop: clicks
    unsigned globalShortcuts = 0;  // org.freedesktop.portal.GlobalShortcuts: hot keys
    bool Any() const { return remoteDesktop != 0 || globalShortcuts != 0; }
};

// Asks the portal (starting it if the bus can) on a private session-bus connection of its own,
// closed again. A portal still starting (at login, say) is waited for, up to the bus's default
// of 25 s; one that does not answer is said on stderr. Needs no Qt, so main() can ask before
// Qt starts.
PortalVersions ProbePortals();

// The portal's versions, asked once, by whoever needs them first: main() choosing Qt's
// platform, or the Wayland input layer choosing its paths.
class PortalProbe {
  public:
    const PortalVersions& Versions() {
        if (!m_versions) m_versions = ProbePortals();
        return *m_versions;
    }

  private:
    std::optional<PortalVersions> m_versions;
};

}  // namespace kestrin::qt::wl
