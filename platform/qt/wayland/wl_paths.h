// Which paths the Wayland input layer takes for clicks and hot keys: chosen from what the
// session offers, or forced with KESTRIN_INPUT (comma-separated, e.g.
// "clicks=none,hotkeys=bus") for tests and for compositors that misreport what they offer.
// Pure: no Qt, no Wayland, so it is tested on its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin::qt::wl {

// VirtualPointer: the wlroots protocol. Portal: the desktop portal's RemoteDesktop, which
// asks the user's consent (KDE Plasma, GNOME).
enum class ClickPath { None, VirtualPointer, Portal };

// Sway: run-time bindings through sway's IPC. Portal: the desktop portal's GlobalShortcuts
// (KDE Plasma, GNOME 48 and later). Bus: only the session-bus method Press, which the user's
// own desktop shortcuts call. All hold the session-bus name as the lock that keeps a second
// copy from taking the keys.
enum class HotKeyPath { None, Sway, Portal, Bus };

struct Offers {
    bool virtualPointer = false;   // the compositor has zwlr_virtual_pointer_manager_v1
    bool swayIpc = false;          // $SWAYSOCK names sway's IPC socket
    bool sessionBus = false;       // the session bus is reachable
    bool remoteDesktop = false;    // the portal has org.freedesktop.portal.RemoteDesktop
    bool globalShortcuts = false;  // the portal has org.freedesktop.portal.GlobalShortcuts
};

struct Paths {
    ClickPath clicks = ClickPath::None;
    HotKeyPath hotKeys = HotKeyPath::None;
    // Choices in the override that were not understood or cannot be had here, one line each.
    std::vector<std::string> problems;
};

// Without an override, the first offered of: clicks: virtual pointer, portal; hot keys: sway,
// portal. The bus alone is never chosen (a desktop shortcut calling it cannot be seen from
// here): the user forces it with "hotkeys=bus" once the shortcuts are set up. A forced path
// that is not offered is none.
Paths ChoosePaths(const Offers& offers, std::string_view override);

std::string_view Name(ClickPath path);
std::string_view Name(HotKeyPath path);

}  // namespace kestrin::qt::wl
