#!/usr/bin/python3
# The test's hands on a GNOME session: a session of mutter's remote-desktop API
# (org.gnome.Mutter.RemoteDesktop, the one remote-control tools use) that presses keys and
# moves the pointer as a user's keyboard and mouse would. Commands on stdin, one a line, each
# answered "ok" on stdout once mutter has taken it ("ready" first):
#   key NAME...      press and release each key in turn: F3, F4, Escape, Return, Tab, space,
#                    0-9, a-z; alt+c holds Alt while pressing c
#   move X Y         the pointer to (X, Y) from the top left corner of the screen
# The screen's size comes on the command line: mutter_hands.py WIDTH HEIGHT. Debian's python3-gi
# needs Debian's python3.
import sys

from gi.repository import Gio, GLib

MUTTER = "org.gnome.Mutter.RemoteDesktop"
KEYS = {"Escape": 1, "Tab": 15, "Return": 28, "space": 57, "alt": 56, "F3": 61, "F4": 62}  # evdev
KEYS.update({str(d): 2 + (d - 1) % 10 for d in range(10)})
KEYS.update({c: code for row, first in (("qwertyuiop", 16), ("asdfghjkl", 30), ("zxcvbnm", 44))
             for code, c in enumerate(row, first)})


class Hands:
    def __init__(self, width, height):
        self.size = (width, height)
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        self.session = self.call("/org/gnome/Mutter/RemoteDesktop", MUTTER, "CreateSession",
                                 None, "(o)")[0]
        self.call(self.session, MUTTER + ".Session", "Start")

    def call(self, path, interface, method, args=None, reply=None):
        return self.bus.call_sync(MUTTER, path, interface, method, args,
                                  GLib.VariantType(reply) if reply else None,
                                  Gio.DBusCallFlags.NONE, 30000, None).unpack()

    def notify(self, method, signature, *args):
        self.call(self.session, MUTTER + ".Session", method, GLib.Variant(signature, args))

    def key(self, name):
        held = name.split("+")
        for code, pressed in [(c, True) for c in held] + [(c, False) for c in reversed(held)]:
            self.notify("NotifyKeyboardKeycode", "(ub)", KEYS[code], pressed)

    def move(self, x, y):
        # Relative moves need no screen stream. From the bottom right corner, where the screen's
        # edges stop the pointer (the top left one opens GNOME's overview).
        self.notify("NotifyPointerMotionRelative", "(dd)", 100000.0, 100000.0)
        self.notify("NotifyPointerMotionRelative", "(dd)", float(x - self.size[0] + 1),
                    float(y - self.size[1] + 1))


if __name__ == "__main__":
    hands = Hands(*map(int, sys.argv[1:3]))
    print("ready", flush=True)
    for line in sys.stdin:
        command, *args = line.split()
        if command == "move":
            hands.move(*map(int, args))
        for name in args if command == "key" else []:
            hands.key(name)
        print("ok", flush=True)
