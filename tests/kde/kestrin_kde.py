#!/usr/bin/env python3
# End-to-end tests of the Linux program on KDE Plasma: the real binary, installed for the user
# and started as from a terminal, under a headless KWin with the real portals (the frontend and
# xdg-desktop-portal-kde) on the session's bus, clicking into an ordinary window of ours, its
# keys typed through KWin's fake input. Plasma 6.4 and later show their shortcut and
# remote-control dialogs, answered with keys; before 6.4 the user's consent to the clicks is
# given as Plasma keeps it, in the permission store (6.3's dialog needs Plasma's workspace,
# which the Debian 13 root lacks). Plasma 6 clicks through EIS, Plasma 5 through
# NotifyPointerButton (--way says which).
#     kestrin_kde.py SCENARIO --kestrin K --target T --keyboard B --way EIS|NotifyPointerButton
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, ".."), os.path.join(HERE, "..", "wayland")]
from harness import as_nobody, check, kwin, process, texts, wait_for  # noqa: E402
from kestrin_wayland import APP_ID, Session, entry_of, has_keyboard, presses, \
    suite  # noqa: E402

# A click on a window passes to it without activating it, so Kestrin keeps the keyboard while
# it clicks the window below.
KWINRC = "[MouseBindings]\nCommandWindow1=Nothing\n"
# What the tests watch on the bus: the portal binding the shortcuts, asking the clicks' dialog,
# withdrawing a dialog.
WATCHED = ("interface=org.freedesktop.impl.portal.GlobalShortcuts",
           "interface=org.freedesktop.impl.portal.RemoteDesktop,member=Start",
           "interface=org.freedesktop.impl.portal.Request,member=Close")


class KdeSession(Session):  # KWin, the portals, our fake-input keyboard, a fullscreen target
    target_mode = ["fullscreen"]
    aim = (1000, 740)  # clear of Kestrin's window, on the target below
    shortcut_keys = {"add": "Return", "cancel": "Escape"}  # OK, Cancel
    close_key = "Escape"  # how the user closes Kestrin's window

    def __init__(self, stack, args):
        self.dialogs = args.plasma == "6.4+"  # Plasma shows its shortcut and clicks dialogs
        super().__init__(stack, args)
        # Kestrin's calls to the shortcuts, from the first Kestrin's on.
        self.calls = stack.enter_context(process(["dbus-monitor", "--session", *WATCHED],
                                                 self.env, lines=True))
        wait_for(lambda: self.calls.lines, 10, "dbus-monitor")  # it says its own NameAcquired

    def desktop(self, args):
        self.way = args.way
        return kwin(KWINRC, entry=entry_of(args.kestrin))

    def run_as(self, argv):
        return as_nobody(argv)

    compositor = "kwin"
    box_title = None  # Kestrin's windows are known by its word that they have the keyboard

    def seen(self, member):  # how often the portal was asked that
        return sum(f"member={member}" in line for line in list(self.calls.lines))

    def start(self, title=texts()["main_title"]):
        # Plasma 6.4 and later ask at the session's first start in their shortcut dialog, which
        # takes the keyboard (Kestrin's window shows meanwhile, waiting): the user answers it.
        # Later starts ask nothing.
        binds, since = self.seen("BindShortcuts"), len(self.target.lines)
        kestrin = self.launch()
        if self.dialogs and not self.asked:
            self.answer_shortcut_dialog(kestrin, binds, since)
        self.window(kestrin, title, 0)
        return kestrin

    def clicking(self, kestrin):  # F3, and the user lets Kestrin click the way Plasma asks
        if not self.dialogs:
            self.allow()
        self.f3_asks(kestrin, "Return")
        self.says(kestrin, "clicks through " + self.way)

    def f3_asks(self, kestrin, key):  # F3: on Plasma 6.4 and later its dialog, answered
        def said(text):
            return "\n".join(kestrin.lines).count(text)
        starts, ran, asks = self.seen("Start"), said("clicks through"), said("asking the desktop")
        clicked = len(presses(self.target))
        # F3 again if it reached no one: Plasma takes a moment to grab the shortcuts of a session
        # made anew (the portal restarted), after it has told Kestrin they are bound.
        self.until("F3", lambda: said("asking the desktop") > asks or
                   len(presses(self.target)) > clicked, 3, 10, "F3 reached no one")
        if self.dialogs:
            wait_for(lambda: self.seen("Start") > starts, 20, "Plasma's remote-control dialog")
            wait_for(lambda: has_keyboard(kestrin, ""), 20, "Plasma's dialog to take the keyboard")
            # A key the dialog missed (shown, not yet listening) is pressed again while it stays.
            self.until(key, lambda: not has_keyboard(kestrin, "") or "\n".join(
                kestrin.lines).count("clicks through") > ran, 3, 5,
                f"the remote-control dialog took no answer ({key})")

    def window(self, kestrin, title, since):  # once its window of that title has the keyboard
        return title and wait_for(lambda: has_keyboard(kestrin, title), 15,
                                  f"a window {title!r} with the keyboard")

    def allow(self):  # the user's "allow" in the remote-control dialog, kept
        subprocess.run(as_nobody([
            "gdbus", "call", "--session", "--dest", "org.freedesktop.impl.portal.PermissionStore",
            "--object-path", "/org/freedesktop/impl/portal/PermissionStore", "--method",
            "org.freedesktop.impl.portal.PermissionStore.SetPermission", "kde-authorized", "true",
            "remote-desktop", APP_ID, "['yes']"]), env=self.env, check=True,
            stdout=subprocess.DEVNULL)

    def may_click(self, kestrin):  # the permission, for the run: kept, or asked at a first F3
        if not self.dialogs:
            return self.allow()
        self.clicking(kestrin)
        self.clicks_go_on(4, timeout=20)
        self.f4_stops()

    def refuse(self, kestrin):  # the user denies; with no dialog to ask with, Plasma refuses
        self.f3_asks(kestrin, "Escape")
        self.says(kestrin, texts()["clicks_refused"])
        self.close_message(kestrin)

    def next_copy(self):  # has them from the shortcuts Plasma keeps: before 6.4 without binding
        binds = self.seen("BindShortcuts")  # them anew (that would open its settings page again)
        super().next_copy()
        check(self.dialogs or self.seen("BindShortcuts") == binds, "bound again by the next one")


if __name__ == "__main__":
    suite(KdeSession, "keyboard", "way", "plasma")
