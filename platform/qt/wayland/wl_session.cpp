#include "platform/qt/wayland/wl_session.h"

#include <dbus/dbus.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
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

namespace {

// The `version` property of a portal interface; 0 when the portal lacks it or is not there.
// `answered` turns false when it did not answer at all (said on stderr).
unsigned PortalVersion(DBusConnection* bus, const char* interface, bool& answered) {
    const std::unique_ptr<DBusMessage, decltype(&dbus_message_unref)> call(
        dbus_message_new_method_call("org.freedesktop.portal.Desktop",
                                     "/org/freedesktop/portal/desktop",
                                     "org.freedesktop.DBus.Properties", "Get"),
        &dbus_message_unref);
    const char* property = "version";
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &interface,
                                           DBUS_TYPE_STRING, &property, DBUS_TYPE_INVALID)) {
        return 0;
    }
    DBusError error;
    dbus_error_init(&error);
    const std::unique_ptr<DBusMessage, decltype(&dbus_message_unref)> reply(
        dbus_connection_send_with_reply_and_block(bus, call.get(), DBUS_TIMEOUT_USE_DEFAULT,
                                                  &error),
        &dbus_message_unref);
    if (dbus_error_is_set(&error)) {
        // No portal on this bus, or one without that interface, is no news.
        if (!dbus_error_has_name(&error, DBUS_ERROR_SERVICE_UNKNOWN) &&
            !dbus_error_has_name(&error, DBUS_ERROR_INVALID_ARGS) &&
            !dbus_error_has_name(&error, DBUS_ERROR_UNKNOWN_INTERFACE) &&
            !dbus_error_has_name(&error, DBUS_ERROR_UNKNOWN_PROPERTY)) {
            std::fprintf(stderr, "kestrin: the desktop portal did not tell its %s: %s\n", interface,
                         error.message);
            answered = false;
        }
        dbus_error_free(&error);
    }
    DBusMessageIter args;
    DBusMessageIter variant;
    if (!reply || !dbus_message_iter_init(reply.get(), &args) ||
        dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_VARIANT) {
        return 0;
    }
    dbus_message_iter_recurse(&args, &variant);
    if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_UINT32) return 0;
    dbus_uint32_t version = 0;
    dbus_message_iter_get_basic(&variant, &version);
    return version;
}

void CloseBus(DBusConnection* bus) {
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
}

}  // namespace

PortalVersions ProbePortals() {
    const std::unique_ptr<DBusConnection, decltype(&CloseBus)> bus(
        dbus_bus_get_private(DBUS_BUS_SESSION, nullptr), &CloseBus);
    if (!bus) return {};
    dbus_connection_set_exit_on_disconnect(bus.get(), false);
    bool answered = true;
    PortalVersions versions;
    versions.remoteDesktop =
        PortalVersion(bus.get(), "org.freedesktop.portal.RemoteDesktop", answered);
    // A portal that did not answer once is not waited for twice.
    if (answered) {
        versions.globalShortcuts =
            PortalVersion(bus.get(), "org.freedesktop.portal.GlobalShortcuts", answered);
    }
    return versions;
}

}  // namespace kestrin::qt::wl
