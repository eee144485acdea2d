// Kestrin on the Linux desktop: Qt 6 Widgets for the windows, the display system's input layer
// for hot keys and clicks.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/framework/cwinapp.h"
#include "platform/qt/kestrin_application.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/wayland/wl_build_tree.h"
#include "platform/qt/wayland/wl_input.h"
#include "platform/qt/wayland/wl_session.h"
#include "platform/qt/wayland/wl_sway_guard.h"
#include "platform/qt/x11/x11_display_check.h"
#include "res/resources.h"

namespace {

// Chooses Qt's platform unless the user did (QT_QPA_PLATFORM): native Wayland where the
// compositor lets Kestrin click or the desktop portal offers clicks or hot keys (KDE Plasma,
// GNOME), X11 otherwise (XWayland on the other Wayland desktops, whose X11 windows it can
// click at least). One line saying why not when there is no display.
std::optional<std::string> ChooseDisplay(kestrin::qt::wl::PortalProbe& portal) {
    using kestrin::qt::wl::WaylandSession;
    const WaylandSession wayland = kestrin::qt::wl::ProbeWaylandSession();
    // Before anything asks the portal, which may start it.
    if (wayland != WaylandSession::Absent) kestrin::qt::wl::NameBuildTreeToSession();
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen != nullptr && *chosen != '\0') {
        const std::string_view platform(chosen);
        if (platform == "xcb") return kestrin::qt::XDisplayProblem();
        if (platform.starts_with("wayland") && wayland == WaylandSession::Absent) {
            return "no Wayland display: WAYLAND_DISPLAY is not set";
        }
        if (platform.starts_with("wayland") && wayland == WaylandSession::Unreachable) {
            return "cannot connect to the Wayland display \"" +
                   std::string(std::getenv("WAYLAND_DISPLAY")) + "\"";
        }
        return std::nullopt;
    }
    const char* x = std::getenv("DISPLAY");
    const bool hasX = x != nullptr && *x != '\0';
    if (wayland == WaylandSession::Clicks ||
        (wayland == WaylandSession::NoClicks && (!hasX || portal.Versions().Any()))) {
        setenv("QT_QPA_PLATFORM", "wayland", 1);
        return std::nullopt;
    }
    if (!hasX) {
        if (wayland == WaylandSession::Unreachable) {
            return "cannot connect to the Wayland display \"" +
                   std::string(std::getenv("WAYLAND_DISPLAY")) + "\"";
        }
        return "no display: neither WAYLAND_DISPLAY nor DISPLAY is set (Kestrin needs a Wayland "
               "or X11 session)";
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    return kestrin::qt::XDisplayProblem();
}

}  // namespace

int main(int argc, char** argv) {
    // The same binary serves as the guard of the sway key bindings.
    if (const auto guarded = kestrin::qt::wl::RunSwayGuardIfAsked(argc, argv)) return *guarded;

    // Asked at most once, here or by the Wayland input layer.
    kestrin::qt::wl::PortalProbe portal;
    // Qt would abort without a display; say so in one line instead.
    if (const auto problem = ChooseDisplay(portal)) {
        std::fprintf(stderr, "kestrin: %s\n", problem->c_str());
        return 1;
    }

    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    const bool wayland =
        platformName != nullptr && std::string_view(platformName).starts_with("wayland");
    if (wayland) kestrin::qt::NameApplication();
    kestrin::qt::KestrinApplication app(argc, argv);
    const int status = [&] {
        const auto& resources = kestrin::res::ProgramResources();
        kestrin::qt::QtPlatform platform(app, resources, portal);
        return RunApplication(platform, resources);
    }();
    // Kestrin's own ending is done: its clicks' connection is flushed and closed, and what it
    // holds on the session bus goes with its connection. On Wayland, Qt's own teardown can then
    // wait for ever on its event thread (Qt 6.8: a read left pending on its connection), which
    // would leave a process with no window that still holds the bus name. So the process ends
    // here, and the kernel closes Qt's connection.
    if (wayland) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
