#!/usr/bin/env python3
# End-to-end tests of the Linux program's desktop-portal paths (those of KDE Plasma and GNOME),
# for what the real desktops (tests/kde, tests/gnome) cannot be made to show: other programs'
# sessions, a desktop taking the clicks back, the calls themselves:
# the real binary under a headless sway with the virtual pointer and sway's IPC forced off, so
# its clicks and hot keys go through the real xdg-desktop-portal frontend to our fake backend,
# which records them and plays the desktop's part (shortcuts used, consent refused). Keys typed
# into Kestrin's window come from our virtual keyboard, as in the other Wayland tests.
#     kestrin_portals.py SCENARIO --kestrin K --target T --keyboard B
import os
import signal
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, ".."), os.path.join(HERE, "..", "wayland")]
from harness import check, settles, texts, wait_for  # noqa: E402
from kestrin_wayland import Session, entry_of, press_by_bus, presses, suite  # noqa: E402
from portals import portals  # noqa: E402

LEFT, RIGHT = "272", "273"  # evdev button codes


def faults(buttons):  # the button calls replayed: presses while down, releases while up, held
    down, found = {}, []
    for i, (_, button, state, _) in enumerate(buttons):
        if (state == "1") == down.get(button, False):
            found.append(f"#{i}: {button} {state}")
        down[button] = state == "1"
    return found + [f"{button} left down" for button, held in down.items() if held]


def check_order(buttons):  # as a compositor would see them: whole clicks, none left down
    found = faults(buttons)
    check(not found, f"{len(found)} faults in {len(buttons)} button calls: {found[:4]}, "
          f"at the end {found[-2:]}")


class PortalSession(Session):  # sway, our keyboard, the portals; Kestrin may use only these

    def __init__(self, stack, args):
        super().__init__(stack, args)
        # Kestrin installed, its entry where the portal finds it.
        self.portal = stack.enter_context(portals(self.env, os.path.dirname(os.path.dirname(
            entry_of(args.kestrin)))))
        self.env = dict(self.portal.env, KESTRIN_INPUT="clicks=portal,hotkeys=portal")

    def shortcuts(self):  # the last Kestrin's GlobalShortcuts session, once bound
        return wait_for(lambda: self.portal.calls("GlobalShortcuts.BindShortcuts"), 10,
                        "Kestrin to bind its shortcuts")[-1][0]

    def use(self, shortcut, session=None):  # the user presses the shortcut, in that session
        self.portal.call("Activate", repr(session or self.shortcuts()), repr(shortcut))

    def buttons(self):
        return self.portal.calls("Button")

    def clicks_go_on(self, count=4, timeout=5):
        before = len(self.buttons())
        wait_for(lambda: len(self.buttons()) >= before + count, timeout, f"{count} more clicks")

    def stopped(self):
        return settles(lambda: len(self.buttons()))


def shortcuts_start_and_stop_it_and_other_sessions_are_ignored(session):
    session.start()
    ours = session.shortcuts()
    bound = session.portal.calls("GlobalShortcuts.BindShortcuts")
    check(sorted(bound[0][1:]) == ["start=F3", "stop=F4"] and len(bound) == 1, f"bound {bound}")
    session.portal.call("OpenSession")  # another program's: 1.16 sends its signals to all
    other = wait_for(lambda: session.portal.sessions("GlobalShortcuts")[1:], 10,
                     "another session")[0]
    check(session.portal.sessions("GlobalShortcuts")[0] == ours, "Kestrin made two sessions")
    session.use("start", other)
    check(session.stopped() and not session.buttons(), "another session's start clicked")
    session.use("start")
    session.clicks_go_on()
    session.use("stop", other)
    session.clicks_go_on()
    session.use("stop")
    check(session.stopped(), "stop did not stop it")
    buttons = session.buttons()
    check({b for _, b, *_ in buttons} == {LEFT}, f"buttons {({b for _, b, *_ in buttons})}")
    check_order(buttons)


def remote_desktop_one_session_one_call_per_button_event(session):
    session.start()
    session.send("key Tab Tab Down Down")  # the click mode: right double
    time.sleep(0.3)  # keys and shortcuts come by different paths
    for _ in range(2):
        session.use("start")
        session.clicks_go_on(8)
        session.use("stop")
        check(session.stopped(), "stop did not stop it")
    clicks = session.portal.sessions("RemoteDesktop")
    check(len(clicks) == 1, f"RemoteDesktop sessions: {clicks}")
    # The pointer alone, and nothing the desktop keeps after the run: newer frontends add
    # persist_mode=1 (for as long as the program runs) when the program asks nothing.
    devices = session.portal.calls("RemoteDesktop.SelectDevices")[0][1:]
    check(devices in (["types=2"], ["types=2", "persist_mode=1"]), f"devices: {devices}")
    buttons = session.buttons()
    check({(s, b) for s, b, *_ in buttons} == {(clicks[0], RIGHT)},
          f"sessions and buttons {({(s, b) for s, b, *_ in buttons})}")
    check_order(buttons)
    check(len(buttons) % 4 == 0, f"{len(buttons)} button calls for double clicks")
    check(not presses(session.target), "a click went through the virtual pointer")


def portal_frozen_for_10_s_is_waited_for_and_the_window_closes_at_once(session):
    # The portal does not answer for 10 s: its frontend as Kestrin starts (still starting, at
    # login), the desktop's side as F3 asks for the clicks. Kestrin waits, and carries on once
    # it answers: its shortcuts bound, then the clicks. Frozen again as the next Kestrin's F3
    # asks, its window still closes at once with Esc. F3 and F4 come by the README's bus line:
    # the portal's own shortcuts are frozen too.
    frontend, backend = session.portal.frontend.pid, session.portal.backend.pid
    for pid in (frontend, backend):
        session.stack.callback(os.kill, pid, signal.SIGCONT)
    os.kill(frontend, signal.SIGSTOP)
    for thawed in (True, False):
        listed, kestrin = len(session.target.lines), session.launch()
        if thawed:
            time.sleep(10)
            os.kill(frontend, signal.SIGCONT)
        session.window(kestrin, texts()["main_title"], listed)
        session.says(kestrin, "shortcuts bound: start stop")
        os.kill(backend, signal.SIGSTOP)
        press_by_bus(session, "F3")
        time.sleep(10 if thawed else 1)
        if thawed:
            os.kill(backend, signal.SIGCONT)
            session.clicks_go_on()
            press_by_bus(session, "F4")
            check(session.stopped(), "F4 did not stop it")
        pressed = time.monotonic()
        session.send("key Escape")
        wait_for(lambda: kestrin.poll() is not None, 1, "Kestrin to end on Esc")
        print(f"Kestrin ended {time.monotonic() - pressed:.2f} s after Esc "
              f"({'thawed' if thawed else 'frozen'})")


def closed_sessions_say_so_and_f3_asks_again(session):
    # The desktop takes the permission back while Kestrin clicks ("stop sharing"), and then
    # the shortcuts.
    kestrin = session.start()
    session.use("start")
    session.clicks_go_on()
    session.portal.call("CloseSession", repr(session.portal.sessions("RemoteDesktop")[-1]))
    session.says(kestrin, texts()["clicks_closed"])
    check(session.stopped(), "clicks went on after the session closed")
    session.send("key Return")
    session.use("start")
    session.clicks_go_on()
    check(len(session.portal.sessions("RemoteDesktop")) == 2, "F3 did not ask again")
    check_order(session.buttons())
    session.use("stop")
    session.portal.call("CloseSession", repr(session.shortcuts()))
    session.says(kestrin, texts()["hotkey_f3_failed"])


if __name__ == "__main__":
    suite(PortalSession, "keyboard")
