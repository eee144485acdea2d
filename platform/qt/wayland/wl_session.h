// What the Wayland session offers Kestrin, asked before Qt starts, so that main() can choose
// the Qt platform: native Wayland where Kestrin can click, XWayland where it could not.
#pragma once

namespace kestrin::qt::wl {

enum class WaylandSession {
    Absent,       // $WAYLAND_DISPLAY is not set
    Unreachable,  // it is set, but no compositor answers there
    NoClicks,     // the compositor offers no virtual pointer (KDE Plasma, GNOME)
    Clicks,       // it offers zwlr_virtual_pointer_manager_v1 (sway and the wlroots family)
};

// Asks on a connection of its own, closed again. Needs no Qt.
WaylandSession ProbeWaylandSession();

}  // namespace kestrin::qt::wl
