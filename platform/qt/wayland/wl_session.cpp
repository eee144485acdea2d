#include "platform/qt/wayland/wl_session.h"

#include <wayland-client.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace kestrin::qt::wl {

WaylandSession ProbeWaylandSession() {
    // Without $WAYLAND_DISPLAY libwayland would try "wayland-0": not a session we were given.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') return WaylandSession::Absent;
    const std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> display(
        wl_display_connect(nullptr), &wl_display_disconnect);
    if (!display) return WaylandSession::Unreachable;
    bool clicks = false;
    static constexpr wl_registry_listener kListener{
        [](void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
            if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, std::uint32_t) {}};
    const std::unique_ptr<wl_registry, decltype(&wl_registry_destroy)> registry(
        wl_display_get_registry(display.get()), &wl_registry_destroy);
    wl_registry_add_listener(registry.get(), &kListener, &clicks);
    if (wl_display_roundtrip(display.get()) < 0) return WaylandSession::Unreachable;
    return clicks ? WaylandSession::Clicks : WaylandSession::NoClicks;
}

}  // namespace kestrin::qt::wl
