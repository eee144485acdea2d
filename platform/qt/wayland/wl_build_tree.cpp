#include "platform/qt/wayland/wl_build_tree.h"

#include <dbus/dbus.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace kestrin::qt::wl {
namespace {

constexpr int kBusTimeoutMs = 3000;

using Message = std::unique_ptr<DBusMessage, decltype(&dbus_message_unref)>;

void CloseBus(DBusConnection* bus) {
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
}

Message BusCall(const char* method) {
    return Message(dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                "org.freedesktop.DBus", method),
                   &dbus_message_unref);
}

bool SetDataDirs(DBusConnection* bus, const std::string& dirs) {
    const Message call = BusCall("UpdateActivationEnvironment");
    if (!call) return false;
    DBusMessageIter args;
    DBusMessageIter map;
    DBusMessageIter entry;
    const char* key = "XDG_DATA_DIRS";
    const char* value = dirs.c_str();
    dbus_message_iter_init_append(call.get(), &args);
    if (!dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{ss}", &map) ||
        !dbus_message_iter_open_container(&map, DBUS_TYPE_DICT_ENTRY, nullptr, &entry) ||
        !dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key) ||
        !dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &value) ||
        !dbus_message_iter_close_container(&map, &entry) ||
        !dbus_message_iter_close_container(&args, &map)) {
        return false;
    }
    DBusError error;
    dbus_error_init(&error);
    const Message reply(
        dbus_connection_send_with_reply_and_block(bus, call.get(), kBusTimeoutMs, &error),
        &dbus_message_unref);
    if (!reply) {
        std::fprintf(stderr, "kestrin: cannot name the build tree to the session: %s\n",
                     error.message != nullptr ? error.message : "no answer");
        dbus_error_free(&error);
    }
    return static_cast<bool>(reply);
}

}  // namespace

void NameBuildTreeToSession() {
    std::error_code error;
    const auto binary = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return;
    const auto data = binary.parent_path() / "share";
    if (!std::filesystem::exists(data / "applications" / (KESTRIN_APP_ID ".desktop"), error)) {
        return;
    }
    const std::unique_ptr<DBusConnection, decltype(&CloseBus)> bus(
        dbus_bus_get_private(DBUS_BUS_SESSION, nullptr), &CloseBus);
    if (!bus) return;
    dbus_connection_set_exit_on_disconnect(bus.get(), false);
    // The portal's data folders: ours first, then the session's (the XDG default when unset).
    const char* session = std::getenv("XDG_DATA_DIRS");
    const std::string dirs =
        data.string() + ":" +
        (session != nullptr && *session != '\0' ? session : "/usr/local/share:/usr/share");
    SetDataDirs(bus.get(), dirs);
}

}  // namespace kestrin::qt::wl
