#!/usr/bin/env python3
# End-to-end tests of the Linux program on native Wayland: the real binary under a headless
# wlroots compositor (sway; labwc and Wayfire, whose own key bindings call Kestrin on the
# session bus with the README's lines), clicking into a surface of ours (wl_click_target), its
# hot keys pressed by a virtual keyboard of ours (wl_keyboard).
#     kestrin_wayland.py SCENARIO --kestrin K --target T --keyboard B [--compositor labwc]

import collections
import contextlib
import ctypes
import functools
import inspect
import os
import re
import signal
import socket
import subprocess
import sys
import textwrap
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import OUTPUT, QUIET, Failure, button_events, check, check_rate, main, process, \
    settles, texts, ticks, wait_for, wlroots  # noqa: E402

APP_ID = "org.example.Kestrin"
LEFT = 272  # the evdev button code
AIM = (100, 100)  # on the click target, which lies below all windows; clear of Kestrin's
DOUBLE = [("P", LEFT), ("R", LEFT)] * 2  # the default click, a left double click


def readme_lines(compositor):  # the README's lines that bind F3 and F4 there, as written
    with open(os.path.join(os.path.dirname(__file__), "..", "..", "README.md"),
              encoding="utf-8") as readme:
        text = readme.read()
    item = text.lower().index(f"\n- {compositor} (")
    block = text[text.index("```", item):].split("\n", 1)[1]
    return textwrap.dedent(block[:block.index("```")])


def press_by_bus(session, key):  # the README's line for the key, answered once Kestrin has it
    line = readme_lines("sway").split(f"{key} exec ")[1].split("\n")[0].split()
    check(subprocess.run([line[0], "--print-reply", *line[1:]], env=session.env,
                         **QUIET).returncode == 0, f"Kestrin did not answer {key} by the bus")


def entry_of(kestrin):  # the desktop entry the build writes beside a built Kestrin
    return os.path.join(os.path.dirname(kestrin), "share", "applications", APP_ID + ".desktop")


def last_focus(kestrin):  # Kestrin's last word on which of its windows has the keyboard: [line]
    focus = [line.rstrip() for line in list(kestrin.lines) if line.startswith("kestrin: focus:")]
    return focus[-1:]


def has_keyboard(kestrin, title):  # Kestrin's word: its window of that title ("": none of its)
    return last_focus(kestrin) == [f"kestrin: focus: {title}".rstrip()]


def not_kestrins(kestrin):  # the keyboard, by its word: none of its windows has it (now or yet)
    return last_focus(kestrin) in ([], ["kestrin: focus:"])


def shortcuts_answered(kestrin):  # its word that the desktop answered for its shortcuts
    return any(line.startswith(("kestrin: portal: shortcuts bound",
                                "kestrin: portal: the shortcuts were not bound"))
               for line in list(kestrin.lines))


def presses(target):  # the left button's, their times in µs
    return [int(line.split()[2]) for line in target.lines if line.startswith(f"P {LEFT} ")]


def held(target):  # the buttons pressed more often than released, by button
    events = collections.Counter((kind, b) for kind, b, _ in button_events(target.lines))
    return {b: n - events["R", b] for (kind, b), n in events.items() if kind == "P"
            and n != events["R", b]}


class Session:  # a compositor, our keyboard and pointer, the click target under the pointer
    target_mode = []  # wl_click_target's: a layer surface below every window
    held_back = 0  # the first ticks, which the desktop may hold back (not counted in the rate)
    think = 0  # seconds the user takes over the desktop's shortcut dialog
    aim = AIM
    compositor = "sway"

    def __init__(self, stack, args):
        self.stack, self.kestrin, self.target_program = stack, args.kestrin, args.target
        self.compositor = getattr(args, "compositor", None) or self.compositor
        self.env = stack.enter_context(self.desktop(args))
        if self.compositor in ("labwc", "wayfire"):  # the user has bound F3 and F4 to the bus
            self.env["KESTRIN_INPUT"] = "hotkeys=bus"  # method, and says so
        self.hands = stack.enter_context(process(self.run_as([args.keyboard, *OUTPUT]), self.env,
                                                 lines=True, stdin=subprocess.PIPE, text=True))
        self.target = stack.enter_context(process(self.run_as([args.target, *self.target_mode]),
                                                  self.env, lines=True))
        wait_for(lambda: "ready" in self.hands.lines and "ready" in self.target.lines, 10,
                 "our keyboard and click target")
        self.send(f"move {self.aim[0]} {self.aim[1]}")

    def desktop(self, args):  # the display server and its session: yields the clients' env
        if self.compositor == "sway":  # Kestrin binds its keys there itself
            return wlroots()
        return wlroots(self.compositor, readme_lines(self.compositor))

    def run_as(self, argv):  # the clients run as we do
        return argv

    def window(self, kestrin, title, since):  # its window of that title, as the compositor
        # lists it from line `since`, with Kestrin's app id
        def listed():  # their app ids
            return [words[1] for words in (line.split(" ", 2) for line in self.target.lines[since:])
                    if words[0] == "T" and words[2:] == [title]]
        app_ids = wait_for(listed, 15, f"a window {title!r}")
        check(app_ids[0] == APP_ID, f"the app id of {title!r}: {app_ids[0]!r}")

    def send(self, *commands):
        done = self.hands.lines.count("ok") + len(commands)
        self.hands.stdin.write("".join(command + "\n" for command in commands))
        self.hands.stdin.flush()
        wait_for(lambda: self.hands.lines.count("ok") >= done, 10, f"keys {commands}")

    def start(self, title=texts()["main_title"]):
        # A Kestrin, once a window with that title is listed after its start and has the keyboard
        # (keys typed before are lost, on a busy machine). It chooses native Wayland itself (the
        # compositor lets it click), and says its texts on stderr.
        listed = len(self.target.lines)
        kestrin = self.launch()
        self.window(kestrin, title, listed)
        wait_for(lambda: has_keyboard(kestrin, title), 10, f"{title!r} to have the keyboard")
        return kestrin

    def launch(self):  # a Kestrin, started as from a terminal, its texts on stderr
        return self.stack.enter_context(process(self.run_as([self.kestrin]), dict(
            self.env, KESTRIN_DEBUG="1"), lines=True, stderr=subprocess.STDOUT))

    box_title = "kestrin"  # of Kestrin's message boxes, as the compositor lists them

    def clicking(self, kestrin):  # the user starts it clicking, with its rate and mode
        self.send("key F3")

    def says(self, kestrin, text):  # a text it shows, on Kestrin's stderr
        wait_for(lambda: text in "\n".join(kestrin.lines), 10, f"Kestrin saying {text!r}")

    def clicks_go_on(self, count=4, timeout=5):  # waits for `count` more; their times
        before = len(presses(self.target))
        return wait_for(lambda: presses(self.target)[before + count - 1:] and
                        presses(self.target)[before:], timeout, f"{count} more clicks")

    def stopped(self):  # no click after the bursts on their way
        return settles(lambda: len(presses(self.target)))

    def may_click(self, kestrin):  # what the desktop asks first before Kestrin clicks: nothing
        pass

    def fast(self):  # a Kestrin clicking 1000 per second
        kestrin = self.start()
        self.may_click(kestrin)
        self.send("key 1 0 0 0")  # the rate field comes with its text selected
        # The keys reach the window on its Wayland connection, F3 comes by the compositor: nothing
        # orders the two, so give the window time to take the rate.
        time.sleep(0.3)
        self.send("key F3")
        self.says(kestrin, texts()["too_fast"])
        self.clicks_go_on(400, timeout=10)  # 200 ticks: 1000 per second, not 10 (100 in 10 s)
        return kestrin

    def back_to_kestrin(self, kestrin):  # clicks leave its window the keyboard
        pass

    def esc_ends(self, kestrin):  # Esc, in Kestrin's window, ends it
        self.send("key Escape")
        wait_for(lambda: kestrin.poll() is not None, 10, "Kestrin to end on Esc")

    def kill(self, kestrin):  # SIGKILL
        kestrin.kill()
        kestrin.wait()

    def keys_free(self):  # F3 and F4 free for others once Kestrin has gone: not where the
        pass  # user's own shortcuts call it

    def next_copy(self):  # the next Kestrin, after one was killed, has F3 and F4
        self.f3_and_f4(self.start(), "the next Kestrin")

    def until(self, key, done, tries, timeout, what):  # the key again when the desktop missed it
        for _ in range(tries):
            self.send("key " + key)
            with contextlib.suppress(Failure):
                return wait_for(done, timeout, "")
        check(False, what)

    shortcut_keys = {}  # the user's answers in the desktop's shortcut dialog: "add", "cancel"
    shortcuts = "add"  # the answer the user gives
    asked = False  # the dialog came: the desktop asks once, for shortcuts it does not know

    def shortcut_dialog(self, kestrin, binds, since):  # the desktop's, once it has the keyboard
        # (from the click target, from target line `since`, if there is one)
        wait_for(lambda: self.seen("BindShortcuts") > binds, 30, "the shortcut dialog")
        time.sleep(1)  # it opens, and takes the keyboard (Kestrin's window shows meanwhile)
        wait_for(lambda: not_kestrins(kestrin) and (
            self.target is None or "unfocus" in self.target.lines[since:]), 20,
            "the shortcut dialog to have the keyboard")

    def answer_shortcut_dialog(self, kestrin, binds, since):  # as the user does
        self.asked = True
        self.shortcut_dialog(kestrin, binds, since)
        time.sleep(self.think)
        *keys, last = self.shortcut_keys[self.shortcuts].split()
        for key in keys:
            self.send("key " + key)
            time.sleep(0.5)
        # A key it missed (a busy machine) is pressed again.
        self.until(last, lambda: shortcuts_answered(kestrin), 3, 10,
                   f"the shortcut dialog took no answer ({self.shortcut_keys[self.shortcuts]})")

    def close_message(self, kestrin):  # Return, once its message box has the keyboard
        wait_for(lambda: "kestrin: focus: kestrin" in kestrin.lines, 10, "its message box")
        self.send("key Return")  # the message box goes, Kestrin's window has the keyboard

    def f3_and_f4(self, kestrin, what="Kestrin"):  # F3 clicks (asking the desktop, if it asks)
        self.clicking(kestrin)  # and F4 stops them, with no button down
        self.clicks_go_on(timeout=20)
        self.f4_stops(what)

    def f4_stops(self, what="Kestrin"):  # F4 stops the clicks, with no button down
        self.send("key F4")
        self.released(f"F4 did not stop {what}")

    def released(self, what):  # the clicks stop, with no button down
        check(self.stopped() and not held(self.target), f"{what}, or buttons are held: "
              f"{held(self.target)}")


def defaults_click_10_per_second_and_f4_stops(session):
    kestrin = session.start()
    start = len(session.target.lines)
    session.clicking(kestrin)
    session.clicks_go_on(40, timeout=20)
    session.f4_stops()
    times = ticks(button_events(session.target.lines[start:]), DOUBLE, "the defaults")
    check_rate(times[session.held_back:], 10, 1_000_000, "the defaults")  # times in µs


def esc_at_1000_per_second_ends_it_with_no_button_down(session):
    kestrin = session.fast()
    session.back_to_kestrin(kestrin)
    session.esc_ends(kestrin)
    session.released("the clicks went on")
    ticks(button_events(session.target.lines), DOUBLE, "1000 per second")
    session.keys_free()


def killed_at_1000_per_second_leaves_no_button_down(session):
    # Killed (SIGKILL) while clicking at 1000 per second: no button stays down, and the next
    # Kestrin has F3 and F4 (on sway, with a guard late to clean up after the killed one).
    kestrin = session.fast()
    session.kill(kestrin)
    session.released("the clicks went on")
    session.next_copy()


def second_copy_shows_the_hot_key_message_and_first_keeps_clicking(session):
    first = session.start()
    session.clicking(first)
    session.clicks_go_on(timeout=20)
    second = session.start(title=session.box_title)  # its message box comes first
    session.says(second, texts()["hotkey_f3_failed"])
    session.clicks_go_on()
    session.f4_stops("the first copy")
    check(first.poll() is None, "the first copy ended")


def counts(kestrin):  # the count label's texts so far
    return [line for line in kestrin.lines if texts()["count_prefix"] in line]


def refused_clicks_stop_the_count_and_f3_asks_again(session):
    """The desktop refuses the clicks (session.refuse): Kestrin says so, nothing is clicked, the
    count label keeps what it showed before F3; the next F3 asks again, and clicks once the user
    allows it."""
    kestrin = session.start()
    shown = counts(kestrin)
    session.refuse(kestrin)
    check(settles(lambda: len(counts(kestrin)), quiet=1) and counts(kestrin) == shown,
          f"the count after the refusal: {counts(kestrin)[len(shown):]}")
    check(not button_events(session.target.lines), "clicks after the refusal")
    session.f3_and_f4(kestrin)


def stop_server(session):  # SIGSTOP to the compositor, SIGCONT however the test ends; its pid
    server = int(session.env["KESTRIN_SERVER_PID"])
    os.kill(server, signal.SIGSTOP)
    session.stack.callback(os.kill, server, signal.SIGCONT)
    return server


def eis_socket(pid):  # a copy (pidfd_getfd) of the one socket libei's epoll watches in `pid`
    fds = f"/proc/{pid}/fd/"
    watched = [int(n) for fd in os.listdir(fds) if os.readlink(fds + fd) == "anon_inode:[eventpoll]"
               for n in re.findall(r"tfd:\s*(\d+)", open(f"/proc/{pid}/fdinfo/{fd}").read())]
    sockets = [fd for fd in watched if os.readlink(fds + str(fd)).startswith("socket:")]
    check(len(sockets) == 1, f"the sockets Kestrin's epoll watches: {sockets}")
    return socket.socket(fileno=ctypes.CDLL(None).syscall(438, os.pidfd_open(pid), sockets[0], 0))


def eis_lost_unseen_stops_the_run_and_f3_asks_again(session):
    # Kestrin's EIS socket takes no more writes, and nothing wakes it (the desktop is stopped,
    # so it cannot answer the end): the next burst finds it out. The run stops with the text, the
    # count is the ticks clicked plus the one that found it, and the next F3 asks again.
    kestrin = session.start()
    session.clicking(kestrin)
    session.clicks_go_on(timeout=20)
    server = stop_server(session)
    with eis_socket(kestrin.pid) as eis:
        eis.shutdown(socket.SHUT_WR)
    session.says(kestrin, "the desktop ended the input connection")
    os.kill(server, signal.SIGCONT)
    session.says(kestrin, texts()["clicks_closed"])
    check(session.stopped() and settles(lambda: len(counts(kestrin))), "the clicks went on")
    count, clicked = int(counts(kestrin)[-1].split()[-1]), len(presses(session.target)) // 2
    check(count == clicked + 1, f"count {count} after {clicked} ticks clicked")
    session.close_message(kestrin)
    session.f3_and_f4(kestrin)


def frozen_compositor_gets_whole_bursts_and_f3_clicks_after(session):
    # The compositor stops reading (SIGSTOP) while Kestrin clicks at 1000 per second, until
    # Kestrin leaves bursts out, and F4 comes meanwhile (the README's bus line for it: the stopped
    # compositor binds no keys). Once it reads again, every burst came whole, and nothing made
    # before F4 is left to come with the clicks of the next F3 (sway passes on the time Kestrin
    # gives each event).
    kestrin = session.fast()
    server = stop_server(session)
    session.says(kestrin, "clicks are left out")
    press_by_bus(session, "F4")
    os.kill(server, signal.SIGCONT)
    session.released("the clicks went on")
    seen, f3 = len(session.target.lines), int(time.monotonic() * 1000)  # ms, as the events'
    session.f3_and_f4(kestrin, "Kestrin once the compositor read again")
    stale = [e for e in session.target.lines[seen:] if e[0] in "PR" and (int(e.split()[3]) - f3)
             % 2**32 >= 2**31]  # made before F3 (the events' times wrap at 2^32 ms)
    check(not stale, f"events made before F3 came after it: {stale[:2]} of {len(stale)}")
    ticks(button_events(session.target.lines), DOUBLE, "the bursts around the stop")


def cancelled_shortcut_dialog_says_f3_failed(session):
    session.shortcuts = "cancel"  # the user's answer in the desktop's dialog at the first start
    session.says(session.start(title=session.box_title), texts()["hotkey_f3_failed"])


def shortcut_dialog_answered_after_30_s_f3_and_f4_work(session):
    session.think = 30  # the user reads the desktop's shortcut dialog before answering it
    session.next_copy()


def closed_while_its_shortcut_dialog_waits_ends_at_once(session):
    """At the first start the desktop asks for the shortcuts in its dialog, for as long as the
    user takes; Kestrin's window shows meanwhile. The user goes to it and closes it: it ends at
    once, the desktop's dialog is withdrawn, and no message comes for a window already closed."""
    binds, since = session.seen("BindShortcuts"), len(session.target.lines if session.target
                                                      else [])
    kestrin = session.launch()
    session.shortcut_dialog(kestrin, binds, since)
    main = texts()["main_title"]
    session.until("alt+Tab", lambda: has_keyboard(kestrin, main), 3, 5,
                  "Alt+Tab did not bring Kestrin's window up")
    closes = session.seen("Close")
    closed = time.monotonic()
    session.send("key " + session.close_key)
    wait_for(lambda: kestrin.poll() is not None, 1, "Kestrin to end")
    print(f"Kestrin ended {time.monotonic() - closed:.2f} s after {session.close_key}")
    check(kestrin.returncode == 0, f"Kestrin ended with status {kestrin.returncode}")
    check(texts()["hotkey_f3_failed"] not in "\n".join(kestrin.lines),
          f"a message for a window already closed: {kestrin.lines[-3:]}")
    wait_for(lambda: session.seen("Close") > closes, 5, "the desktop's dialog to be withdrawn")


def end_portal(session, kestrin):  # SIGTERM to the portal frontend; the bus starts it anew
    def said(text):
        return sum(text in line for line in list(kestrin.lines))
    bound, left = said("shortcuts bound"), said("the desktop portal left the bus")
    done = subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                           "--object-path", "/org/freedesktop/DBus", "--method",
                           "org.freedesktop.DBus.GetConnectionUnixProcessID",
                           "org.freedesktop.portal.Desktop"], env=session.env, check=True,
                          capture_output=True, text=True)
    os.kill(int(done.stdout.split()[1].rstrip(",)")), signal.SIGTERM)
    wait_for(lambda: said("the desktop portal left the bus") > left, 10, "Kestrin to see it go")
    if bound:  # F3 works again once Kestrin has its shortcuts from the new portal
        wait_for(lambda: said("shortcuts bound") > bound, 20, "its shortcuts bound again")


def portal_ended_idle_then_clicking_f3_clicks_again(session):
    """The desktop portal ends (a crash, an update) while Kestrin waits, then while it clicks:
    the bus starts it again at the next call. F3 then clicks, asking the desktop anew; ended
    while clicking, the clicks first stop with Kestrin's word."""
    kestrin = session.start()
    end_portal(session, kestrin)
    session.clicking(kestrin)
    session.clicks_go_on(timeout=20)
    end_portal(session, kestrin)
    session.says(kestrin, texts()["clicks_closed"])
    check(session.stopped(), "clicks went on after the portal ended")
    session.close_message(kestrin)
    session.f3_and_f4(kestrin)


def without_hotkeys_bus_it_says_f3_failed_at_start(session):
    del session.env["KESTRIN_INPUT"]  # the user has not said that the shortcuts are there
    session.says(session.start(title="kestrin"), texts()["hotkey_f3_failed"])


def f3_works_after_sway_reload(session):
    kestrin = session.start()
    subprocess.run(["swaymsg", "reload"], env=session.env, check=True, capture_output=True)
    time.sleep(0.5)
    session.f3_and_f4(kestrin, "it after the reload")


def guards(env):  # the pids of the processes guarding key bindings on this sway
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError), open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            if cmdline.read().split(b"\0")[1:3] == [b"--sway-guard", env["SWAYSOCK"].encode()]:
                found.append(int(pid))
    return found


class SwaySession(Session):  # where Kestrin binds F3 and F4 itself, with a guard to unbind them

    def kill(self, kestrin):  # its guard held back first: it cleans up late
        self.late = wait_for(lambda: guards(self.env), 10, "the guard of Kestrin's bindings")
        check(len(self.late) == 1, f"guards: {self.late}")
        os.kill(self.late[0], signal.SIGSTOP)  # and on again, however the test ends
        self.stack.callback(subprocess.run, ["kill", "-CONT", str(self.late[0])], **QUIET)
        super().kill(kestrin)

    def next_copy(self):
        # It starts while the late guard has not cleaned up yet; once it has had time to bind
        # its keys, the late guard cleans up, and leaves it its keys.
        listed = len(self.target.lines)
        second = self.launch()
        wait_for(lambda: len(guards(self.env)) == 2, 10, "the second Kestrin's guard")
        time.sleep(1)  # the second Kestrin waits for the late guard to let go of the bindings
        os.kill(self.late[0], signal.SIGCONT)
        wait_for(lambda: self.late[0] not in guards(self.env), 10, "the late guard to end")
        self.window(second, texts()["main_title"], listed)
        self.f3_and_f4(second, "the second Kestrin")
        super().kill(second)  # its keys go with it too
        self.keys_free()

    def keys_free(self):  # they reach the window of ours that has the keyboard
        window = self.stack.enter_context(process([self.target_program, "window"], self.env,
                                                  lines=True))
        wait_for(lambda: "focus" in window.lines, 10, "a window of ours to have the keyboard")
        self.send("key F3 F4")
        wait_for(lambda: {"K 61 1", "K 62 1"} <= set(window.lines), 5,
                 f"F3 and F4 to reach the focused window (it got {window.lines})")


def suite(session, *options):
    # Runs the scenario named on the command line, in a session of its own: the functions that
    # take a session alone, the running script's and the shared ones here (each desktop's CMake
    # list names those that apply to it).
    def in_session(scenario, args):
        with contextlib.ExitStack() as stack:
            scenario(session(stack, args))
    main({name: functools.partial(in_session, f) for module in (__name__, "__main__")
          for name, f in vars(sys.modules[module]).items() if inspect.isfunction(f) and
          list(inspect.signature(f).parameters) == ["session"]}, "kestrin", "target", *options)


if __name__ == "__main__":
    suite(lambda stack, args: (Session if args.compositor else SwaySession)(stack, args),
          "keyboard", "compositor")
