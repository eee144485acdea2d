#!/usr/bin/env python3
# End-to-end tests of the Linux program on KDE Plasma: the real binary under a headless KWin
# with the real portals (the frontend and xdg-desktop-portal-kde) on the session's bus, clicking
# into an ordinary window of ours, its keys typed through KWin's fake input. The user's consent
# to the clicks is given as Plasma keeps it, in the permission store.
# Plasma 6 clicks through EIS, Plasma 5 through NotifyPointerButton (--way says which).
#     kestrin_kde.py SCENARIO --kestrin K --target T --keyboard B --way EIS|NotifyPointerButton
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, ".."), os.path.join(HERE, "..", "wayland")]
from harness import as_nobody, check, kwin, process, texts, wait_for  # noqa: E402
from kestrin_wayland import APP_ID, Session, defaults_click_10_per_second_and_f4_stops, \
    eis_lost_unseen_stops_the_run_and_f3_asks_again, \
    esc_at_1000_per_second_ends_it_with_no_button_down, \
    killed_at_1000_per_second_leaves_no_button_down, \
    refused_clicks_stop_the_count_and_f3_asks_again, suite, \
    second_copy_shows_the_hot_key_message_and_first_keeps_clicking  # noqa: E402,F401

# A click on a window passes to it without activating it, so Kestrin keeps the keyboard while
# it clicks the window below.
KWINRC = "[MouseBindings]\nCommandWindow1=Nothing\n"


class KdeSession(Session):  # KWin, the portals, our fake-input keyboard, a fullscreen target
    target_mode = ["fullscreen"]
    aim = (1000, 740)  # clear of Kestrin's window, on the target below

    def __init__(self, stack, args):
        super().__init__(stack, args)
        # Kestrin's calls to the shortcuts, from the first Kestrin's on.
        self.calls = stack.enter_context(process([
            "dbus-monitor", "--session", "interface=org.freedesktop.impl.portal.GlobalShortcuts"],
            self.env, lines=True))
        wait_for(lambda: self.calls.lines, 10, "dbus-monitor")  # it says its own NameAcquired

    def desktop(self, args):
        self.way = args.way
        # The session knows Kestrin by its entry in the build tree (its data folder).
        return kwin(KWINRC, data=os.path.join(os.path.dirname(args.kestrin), "share"))

    def run_as(self, argv):
        return as_nobody(argv)

    compositor = "kwin"
    box_title = None  # Kestrin's windows are known by its word that they have the keyboard

    def clicking(self, kestrin):  # with the user's "allow" kept, the way this Plasma offers
        self.allow()
        self.send("key F3")
        self.says(kestrin, "clicks through " + self.way)

    def window(self, kestrin, title, since):  # once its window of that title has the keyboard
        return title and wait_for(lambda: f"kestrin: focus: {title}" in kestrin.lines, 15,
                                  f"a window {title!r} with the keyboard")

    def allow(self, answer="yes"):  # the user's answer to the remote-control dialog, kept
        subprocess.run(as_nobody([
            "gdbus", "call", "--session", "--dest", "org.freedesktop.impl.portal.PermissionStore",
            "--object-path", "/org/freedesktop/impl/portal/PermissionStore", "--method",
            "org.freedesktop.impl.portal.PermissionStore.SetPermission", "kde-authorized", "true",
            "remote-desktop", APP_ID, f"['{answer}']"]), env=self.env, check=True,
            stdout=subprocess.DEVNULL)

    def may_click(self, kestrin):
        self.allow()

    def refuse(self, kestrin):  # no stored answer, and no dialog to ask with: Plasma refuses
        self.send("key F3")
        self.says(kestrin, texts()["clicks_refused"])
        self.close_message(kestrin)

    def next_copy(self):  # has them from the shortcuts Plasma keeps, without binding them anew
        super().next_copy()  # (Plasma would open its settings page again)
        binds = [line for line in self.calls.lines if "member=BindShortcuts" in line]
        check(len(binds) == 1, f"the shortcuts were bound {len(binds)} times")


if __name__ == "__main__":
    suite(KdeSession, "keyboard", "way")
