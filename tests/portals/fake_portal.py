#!/usr/bin/python3
# A desktop portal backend of our own, behind the real xdg-desktop-portal frontend: it grants
# every RemoteDesktop and GlobalShortcuts request at once and prints one line (flushed) per call
# the tests read, e.g. "Button SESSION 272 1 µs" (CLOCK_MONOTONIC). Debian's python3-dbus needs
# Debian's python3. Driven on its own bus name (gdbus call --dest org.example.KestrinTestPortal):
#   Activate(session, shortcut)   a press and release of the shortcut in that session
#   OpenSession()                 a GlobalShortcuts session of its own, through the frontend
#   CloseSession(session)         the desktop ends that session
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.example.KestrinTestPortal"
FRONTEND, PATH = "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop"
IMPL = "org.freedesktop.impl.portal."
SHORTCUTS, REMOTE = IMPL + "GlobalShortcuts", IMPL + "RemoteDesktop"
POINTER = 2  # the device type


def say(*words):
    print(*words, flush=True)


class Session(dbus.service.Object):  # the impl side of one session
    def __init__(self, bus, path, sessions):
        if path in sessions:  # a client may take a closed session's name again
            sessions.pop(path).remove_from_connection()
        super().__init__(bus, path)
        self.sessions = sessions
        sessions[path] = self

    @dbus.service.method(IMPL + "Session")
    def Close(self):
        self.sessions.pop(self._object_path, None)
        self.remove_from_connection()

    @dbus.service.signal(IMPL + "Session")
    def Closed(self):
        pass


class Shortcuts(dbus.service.Object):  # org.freedesktop.impl.portal.GlobalShortcuts
    @dbus.service.method(SHORTCUTS, in_signature="oosa{sv}", out_signature="ua{sv}")
    def CreateSession(self, handle, session, app_id, options):
        Session(self.bus, session, self.sessions)
        say("GlobalShortcuts.CreateSession", session)
        return (0, {})

    @dbus.service.method(SHORTCUTS, in_signature="ooa(sa{sv})sa{sv}", out_signature="ua{sv}")
    def BindShortcuts(self, handle, session, shortcuts, parent_window, options):
        say("GlobalShortcuts.BindShortcuts", session, *(
            f"{id}={info.get('preferred_trigger', '')}" for id, info in shortcuts))
        bound = [(id, {"description": info.get("description", ""),
                       "trigger_description": info.get("preferred_trigger", "")})
                 for id, info in shortcuts]
        return (0, {"shortcuts": dbus.Array(bound, signature="(sa{sv})")})

    @dbus.service.method(SHORTCUTS, in_signature="oo", out_signature="ua{sv}")
    def ListShortcuts(self, handle, session):
        return (0, {"shortcuts": dbus.Array([], signature="(sa{sv})")})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Deactivated(self, session, shortcut, timestamp, options):
        pass


class Remote(dbus.service.Object):  # org.freedesktop.impl.portal.RemoteDesktop
    @dbus.service.method(REMOTE, in_signature="oosa{sv}", out_signature="ua{sv}")
    def CreateSession(self, handle, session, app_id, options):
        Session(self.bus, session, self.sessions)
        say("RemoteDesktop.CreateSession", session)
        return (0, {})

    @dbus.service.method(REMOTE, in_signature="oosa{sv}", out_signature="ua{sv}")
    def SelectDevices(self, handle, session, app_id, options):
        self.devices[session] = int(options.get("types", POINTER))
        say("RemoteDesktop.SelectDevices", session, *(f"{k}={v}" for k, v in options.items()))
        return (0, {})

    @dbus.service.method(REMOTE, in_signature="oossa{sv}", out_signature="ua{sv}")
    def Start(self, handle, session, app_id, parent_window, options):
        granted = dbus.UInt32(self.devices.get(session, POINTER))
        say("RemoteDesktop.Start", session, "granted")
        return 0, {"devices": granted}

    @dbus.service.method(REMOTE, in_signature="oa{sv}iu")
    def NotifyPointerButton(self, session, options, button, state):
        say("Button", session, button, state, GLib.get_monotonic_time())


class Portal(Shortcuts, Remote):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus, self.sessions = bus, {}
        self.devices = {}  # by session: the types chosen

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        version = {"version": dbus.UInt32(1)}
        return dict(version, AvailableDeviceTypes=dbus.UInt32(POINTER)) if interface == REMOTE \
            else version

    @dbus.service.method(NAME, in_signature="os")
    def Activate(self, session, shortcut):
        now = dbus.UInt64(GLib.get_real_time() // 1000)
        self.Activated(session, shortcut, now, {})
        self.Deactivated(session, shortcut, now, {})

    @dbus.service.method(NAME)
    def OpenSession(self):  # asynchronously: the frontend calls us back meanwhile. Portals from
        # 1.21 on make a session only for a known application id, registered first: Kestrin's
        # own (the only entry the session has), by another program with another connection.
        def create(*_):
            self.bus.call_async(FRONTEND, PATH, "org.freedesktop.portal.GlobalShortcuts",
                                "CreateSession", "a{sv}",
                                ({"handle_token": "ours", "session_handle_token": "ours"},),
                                None, None)
        self.bus.call_async(FRONTEND, PATH, "org.freedesktop.host.portal.Registry", "Register",
                            "sa{sv}", ("org.example.Kestrin", {}), create, create)

    @dbus.service.method(NAME, in_signature="o")
    def CloseSession(self, session):
        closing = self.sessions.pop(session)
        closing.Closed()
        closing.remove_from_connection()


if __name__ == "__main__":
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus)
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    say("ready")
    GLib.MainLoop().run()
