// The input layer on Wayland.
//
//   clicks    a virtual pointer (wlroots compositors: sway, Hyprland, river, labwc, Wayfire,
//             niri) on a Wayland connection of our own; else the desktop portal's
//             RemoteDesktop (KDE Plasma, GNOME), with the user's consent; none elsewhere
//   hot keys  sway: run-time bindings through its IPC; else the desktop portal's
//             GlobalShortcuts (KDE Plasma, GNOME 48+); any desktop: the session-bus method
//             Press that the user's own shortcuts call (KESTRIN_INPUT=hotkeys=bus); owning
//             the bus name is the lock against a second copy
//   pointer   not readable or placeable: Wayland has no global pointer position, so the
//             clicks land where the pointer is
//   texts     with KESTRIN_DEBUG=1, published on stderr ("kestrin: text: ..."), and the window
//             that has the keyboard ("kestrin: focus: <title>")
//
// The paths are chosen from what the session offers (wl_paths.h) and named by Describe().
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/input_layer.h"
#include "platform/qt/wayland/wl_paths.h"

namespace kestrin::qt {
namespace wl {
class BusHotKeys;
class Portal;
class PortalClicks;
enum class ClicksEvent;
class PortalHotKeys;
class PortalProbe;
class SwayBindings;
class VirtualPointer;
}  // namespace wl

class WaylandInput final : public InputLayer {
  public:
    // `override` is KESTRIN_INPUT's value; `debug` publishes texts on stderr.
    WaylandInput(wl::PortalProbe& portal, HotKeyFired fire, ShowMessage show, AwaitUser awaitUser,
                 const QString& appId, std::string_view override, bool debug);
    ~WaylandInput() override;
    WaylandInput(const WaylandInput&) = delete;
    WaylandInput& operator=(const WaylandInput&) = delete;

    std::string Describe() const override;
    void SendBurst(std::span<const std::uint32_t> flags) override;
    bool RegisterHotKey(platform::WindowId window, int id, unsigned modifiers,
                        unsigned vk) override;
    void ReleaseHotKeys(platform::WindowId window) override;
    bool GetPointer(platform::Point& screen) override;
    bool SetPointer(platform::Point screen) override;
    void PublishWindowText(QWidget& window, const QString& text) override;
    void PublishControlText(QWidget& dialog, int controlId, const QString& text) override;

  private:
    struct Registration {
        platform::WindowId window;
        int id;
        std::string name;  // "F3"
    };

    // The user pressed the hot key of that name; false when no window holds it.
    bool Deliver(const std::string& name);
    // Whether a window holds the hot key of that name.
    bool Held(const std::string& name) const;
    // Fires the hot key of that name, as the user's or on the desktop's behalf.
    bool Fire(const std::string& name);
    // The portal's session changed: hold, start again or stop the clicker.
    void ClicksChanged(wl::ClicksEvent event);

    HotKeyFired m_fire;
    ShowMessage m_show;
    bool m_debug;
    wl::Paths m_paths;
    std::unique_ptr<wl::VirtualPointer> m_pointer;
    std::unique_ptr<wl::BusHotKeys> m_bus;
    std::unique_ptr<wl::SwayBindings> m_sway;  // after m_bus: unbinds before the lock goes
    std::unique_ptr<wl::Portal> m_portal;      // before the portal's users, which it outlives
    std::unique_ptr<wl::PortalClicks> m_portalClicks;
    std::unique_ptr<wl::PortalHotKeys> m_portalHotKeys;
    std::vector<Registration> m_registrations;
    bool m_resume = false;  // the start key waits for the session: fire it once it runs
};

// Names the application by its id (Qt's desktop file name: the windows' Wayland app_id, by which
// the desktop finds Kestrin's entry), before the application object exists. Qt 6.10 and later
// then give the portal that id on Qt's own bus connection as Qt starts, ahead of the first portal
// call Qt makes there (the GNOME theme's, for the portal's settings); named later, Qt tries when
// it is too late and says so on stderr.
void NameApplication();

// The Wayland input layer for Qt's "wayland" platform.
std::unique_ptr<InputLayer> CreateWaylandInput(wl::PortalProbe& portal,
                                               InputLayer::HotKeyFired fire,
                                               InputLayer::ShowMessage show,
                                               InputLayer::AwaitUser awaitUser);

}  // namespace kestrin::qt
