#!/usr/bin/env python3
# End-to-end tests of the Linux program on a real GNOME: the real binary, run as a user runs it,
# under a headless gnome-shell with GNOME's own portals and services beside it, clicking a
# fullscreen window of ours (wl_click_target). Keys and the pointer come as a user's would,
# through mutter's remote-desktop API (mutter_hands.py), and every dialog is answered with them.
# Kestrin is installed for the user and started as from a terminal. GNOME 43 to 47 hears F3 and
# F4 through the user's custom shortcuts (the README's lines, run by gsd-media-keys); GNOME 48
# and later through the GlobalShortcuts portal: on 48 with the user's earlier "Add" in GNOME's
# shortcut dialog stored as GNOME stores it, from 49 on through that dialog itself.
#     kestrin_gnome.py SCENARIO --kestrin K --target T
import contextlib
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, ".."), os.path.join(HERE, "..", "wayland")]
from harness import GNOME_OUTPUT, QUIET, Failure, as_nobody, check, gnome, \
    process, texts, wait_for  # noqa: E402
from kestrin_wayland import APP_ID, Session, entry_of, has_keyboard, readme_lines, \
    suite  # noqa: E402

AIM = (100, 700)  # on the click target, clear of the windows GNOME centres and of its top bar
SHELL = ("org.gnome.Shell", "/org/gnome/Shell")
# What the tests watch on the session bus: the portal asking GNOME's remote-control and shortcut
# dialogs, a dialog withdrawn, the user's shortcuts calling Kestrin.
WATCHED = ("interface='org.freedesktop.impl.portal.RemoteDesktop',member='Start'",
           "interface='org.freedesktop.impl.portal.GlobalShortcuts',member='BindShortcuts'",
           "interface='org.freedesktop.impl.portal.Request',member='Close'",
           "interface='org.example.Kestrin.HotKeys'")
# The user's answers to the remote-control dialog, by GNOME release: on 43 the switch "Allow
# remote interaction" has no mnemonic; from 48 it has (_Interaction). "_Share", "_Cancel".
SHARE, CANCEL = {43: "Tab space alt+s", 48: "alt+i alt+s"}, "alt+c"


class GnomeSession(Session):  # gnome-shell, our hands, the click target under the pointer
    compositor = "gnome"
    # The first click gives the target the keyboard, and GNOME holds the next few back
    # meanwhile (up to half a second).
    held_back = 4
    run_as = staticmethod(as_nobody)
    # The user's answers in the shortcut dialog (GNOME 49 and later): "_Add"; Esc cancels it.
    shortcut_keys = {"add": "alt+a", "cancel": "Escape"}
    close_key = "alt+F4"  # how the user closes Kestrin's window: as its close box does

    def __init__(self, stack, args):
        self.stack, self.kestrin, self.target_program = stack, args.kestrin, args.target
        self.version = int(args.shell)  # the GNOME release, as CMake found it
        self.env = stack.enter_context(gnome(entry_of(args.kestrin)))
        # Line by line: Debian 13's dbus-monitor buffers what it writes to a pipe.
        self.bus = stack.enter_context(process(["stdbuf", "-oL", "dbus-monitor", "--session",
                                                *WATCHED], self.env, lines=True))
        self.hands = stack.enter_context(process(as_nobody(
            ["/usr/bin/python3", os.path.join(HERE, "mutter_hands.py"), *GNOME_OUTPUT]),
            self.env, lines=True, stdin=subprocess.PIPE, text=True))
        wait_for(lambda: "ready" in self.hands.lines, 40, "a session of mutter's remote desktop")
        self.leave_overview()
        if self.version < 48:
            self.env["KESTRIN_INPUT"] = "hotkeys=bus"  # the user says the shortcuts are there
            self.custom_shortcuts()
        elif self.version == 48:
            self.stored_shortcuts()
        self.target = None

    def leave_overview(self):
        # gnome-shell starts in the overview, where no shortcut fires. The user leaves it with Esc.
        def overview():
            return subprocess.run(as_nobody([
                "gdbus", "call", "--session", "--dest", SHELL[0], "--object-path", SHELL[1],
                "--method", "org.freedesktop.DBus.Properties.Get", SHELL[0], "OverviewActive"]),
                env=self.env, capture_output=True, text=True).stdout
        wait_for(lambda: "true" in overview(), 30, "gnome-shell to show its overview")

        def left():
            self.send("key Escape")
            time.sleep(0.5)  # the overview slides away
            return "false" in overview()
        wait_for(left, 20, "the overview to close", interval=0.5)

    def seen(self, member):  # how often the watched member went by on the bus
        return sum(f"member={member}" in line for line in list(self.bus.lines))

    def custom_shortcuts(self):
        # The README's lines, run as the user runs them; gsd-media-keys, GNOME's own, runs
        # the shortcuts they make. Its keys are grabbed through the shell a while after it
        # starts: F4 (which nothing owns yet) until it calls.
        subprocess.run(as_nobody(["bash", "-c", readme_lines("gnome 43–47")]), env=self.env,
                       check=True)
        self.stack.enter_context(process(as_nobody(["/usr/libexec/gsd-media-keys"]), self.env,
                                         **QUIET))
        self.until("F4", lambda: self.seen("Press"), 60, 0.5,
                   "gsd-media-keys never ran the F4 shortcut")

    def stored_shortcuts(self):
        # The user's earlier "Add" in GNOME's shortcut dialog, as GNOME stores it: the portal
        # binds F3 and F4 with no dialog.
        schema = "org.gnome.settings-daemon.global-shortcuts"
        for args in ((schema, "applications", f"['{APP_ID}']"), (
                f"{schema}.application:/org/gnome/settings-daemon/global-shortcuts/{APP_ID}/",
                "shortcuts", "[('start', {'description': <'开始自动点击'>, 'shortcuts': <['F3']>}),"
                " ('stop', {'description': <'停止自动点击'>, 'shortcuts': <['F4']>})]")):
            subprocess.run(as_nobody(["gsettings", "set", *args]), env=self.env, check=True)

    def start(self, title=texts()["main_title"]):
        # A Kestrin, as the user starts it, once its window of that title has the keyboard (it
        # says so on stderr, with its texts). On GNOME before 48 the user has made the custom
        # shortcuts. The first Kestrin's window then gives the keyboard to the click target,
        # started after it, as no input has come yet: so the target tells when GNOME's dialog
        # takes the keyboard.
        binds = self.seen("BindShortcuts")
        kestrin = self.launch()
        if self.version >= 49 and not self.asked:  # GNOME's shortcut dialog, answered
            self.answer_shortcut_dialog(kestrin, binds, 0)
            if self.shortcuts == "cancel":  # its message box comes before the target
                wait_for(lambda: has_keyboard(kestrin, "kestrin"), 20, "its message box")
        if title:
            wait_for(lambda: has_keyboard(kestrin, title), 20,
                     f"a window {title!r} with the keyboard")
        if self.target is None:
            self.target = self.stack.enter_context(process(
                as_nobody([self.target_program, "fullscreen"]), self.env, lines=True))
            wait_for(self.target_has_keyboard, 10, "the click target to have the keyboard")
            self.send("move %d %d" % AIM)
        return kestrin

    def target_has_keyboard(self):
        return [line for line in list(self.target.lines) if line in ("focus", "unfocus")][-1:] \
            == ["focus"]

    def to_kestrin(self, kestrin):  # the user goes back from the click target to Kestrin
        def focused():  # by its own word that its window has the keyboard
            return kestrin.lines.count(f"kestrin: focus: {texts()['main_title']}")
        before = focused()
        self.until("alt+Tab", lambda: focused() > before, 3, 5, "Alt+Tab did not bring it back")

    def press_f3(self, kestrin):  # F3, from the click target: Kestrin has it, not the target
        said, through = len(kestrin.lines), self.target.lines.count("K 61 1")
        self.send("key F3")
        wait_for(lambda: len(kestrin.lines) > said or
                 self.target.lines.count("K 61 1") > through, 10, "F3 to reach anyone")
        check(len(kestrin.lines) > said,
              f"F3 reached the click target, not Kestrin, which said last: {kestrin.lines[-3:]}")

    def start_clicking(self, kestrin, answer, answered):
        # F3, and GNOME asks whether Kestrin may control the pointer: the user answers with the
        # keys `answer` once the dialog has the keyboard (it takes it from our windows, which have
        # had no input yet), one by one (a switch there slides before the button it unlocks takes
        # a key). On a busy machine the dialog may not have taken a key yet: until answered()
        # the user presses the last one again.
        check(self.target_has_keyboard(), "the click target does not have the keyboard")
        starts = self.seen("Start")
        self.press_f3(kestrin)
        wait_for(lambda: self.seen("Start") > starts, 10, "GNOME's remote-control dialog")
        wait_for(lambda: not self.target_has_keyboard(), 20,
                 "the remote-control dialog to take the keyboard")
        *keys, last = answer.split()
        for key in keys:
            time.sleep(0.5)
            self.send("key " + key)
        time.sleep(0.5)
        self.until(last, answered, 6, 3, f"the remote-control dialog took no answer ({answer})")
        check(self.seen("Start") == starts + 1, "one F3 asked more than once")

    def refuse(self, kestrin):  # the user cancels; closes Kestrin's message; back to the target
        refused = texts()["clicks_refused"]
        self.start_clicking(kestrin, CANCEL, lambda: refused in "\n".join(kestrin.lines))
        self.close_message(kestrin)

    def close_message(self, kestrin):  # and back to the click target, once the message box
        def main():  # has given the keyboard back to Kestrin's window (else it takes it back)
            return kestrin.lines.count(f"kestrin: focus: {texts()['main_title']}")
        before = main()
        super().close_message(kestrin)
        wait_for(lambda: main() > before, 10, "Kestrin's window to have the keyboard again")
        self.to_target()

    def to_target(self):  # the user goes from Kestrin's window to the click target, pressing
        # Alt+Tab again when a busy shell missed it
        self.until("alt+Tab", self.target_has_keyboard, 3, 5, "the click target to have the keyboard")

    box_title = None  # Kestrin's windows are known by its word that they have the keyboard

    def clicking(self, kestrin):  # F3, and the user lets Kestrin control the pointer
        def runs():
            return sum("the session runs" in line for line in list(kestrin.lines))
        before = runs()
        self.start_clicking(kestrin, SHARE[43 if self.version < 48 else 48],
                            lambda: runs() > before)
        # The user points at what to click. GNOME 48 at times sends no click anywhere until the
        # pointer has moved once the dialog is gone (half the runs here): it moves, and back.
        self.send("move %d %d" % (AIM[0] + 5, AIM[1]), "move %d %d" % AIM)

    def may_click(self, kestrin):  # the user allows the clicks at a first F3, with the defaults:
        self.clicking(kestrin)  # the permission is kept for the run
        self.clicks_go_on(4, timeout=20)
        self.back_to_kestrin(kestrin)

    def esc_ends(self, kestrin):  # Esc again, from Kestrin's window, if a busy shell gave the
        for _ in range(3):  # keyboard back to the click target (a click landing late)
            if self.target_has_keyboard():
                self.send("key alt+Tab")
                wait_for(lambda: not self.target_has_keyboard(), 10, "Alt+Tab to leave the target")
            self.send("key Escape")
            with contextlib.suppress(Failure):
                return wait_for(lambda: kestrin.poll() is not None, 10, "")
        check(False, "Kestrin did not end on Esc")

    def back_to_kestrin(self, kestrin):  # each click gave the target the keyboard: F4, Alt+Tab
        self.f4_stops()
        self.to_kestrin(kestrin)

    def next_copy(self):  # its first F3 asks in GNOME's dialog again, and F3 reaches it
        kestrin = self.start()
        self.to_target()
        self.f3_and_f4(kestrin, "the next Kestrin")


if __name__ == "__main__":
    suite(GnomeSession, "shell")
