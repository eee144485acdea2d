#!/usr/bin/env python3
# End-to-end tests of the Linux program on native Wayland: the real binary under a headless
# sway, clicking into a surface of ours (wl_click_target), its hot keys pressed by a virtual
# keyboard of ours (wl_keyboard), its windows seen in sway's tree.
#     kestrin_wayland.py SCENARIO --kestrin K --target T --keyboard B

import collections
import contextlib
import json
import os
import signal
import socket
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import OUTPUT, Failure, button_events, check, check_rate, main, process, settles, \
    sway, texts, ticks, wait_for  # noqa: E402

APP_ID = "org.example.Kestrin"
LEFT = 272  # the evdev button code
AIM = (100, 100)  # on the click target, which lies below all windows; clear of Kestrin's


def windows(env):  # every window in sway's tree: dicts with pid, app_id, name (the title)...
    tree = json.loads(subprocess.run(["swaymsg", "-r", "-t", "get_tree"], env=env, check=True,
                                     capture_output=True, text=True).stdout)
    found, nodes = [], [tree]
    while nodes:
        node = nodes.pop()
        found += [node] if node.get("pid") else []
        nodes += node.get("nodes", []) + node.get("floating_nodes", [])
    return found


def presses(target):  # the left button's, their times in µs
    return [int(line.split()[2]) for line in target.lines if line.startswith(f"P {LEFT} ")]


def held(target):  # the buttons pressed more often than released, by button
    events = collections.Counter(tuple(line.split()[:2]) for line in list(target.lines)
                                 if line[0] in "PR")
    return {b: n - events["R", b] for (kind, b), n in events.items() if kind == "P"
            and n != events["R", b]}


class Session:  # sway, our keyboard and pointer, the click target under the pointer, Kestrins
    target_mode = []  # wl_click_target's: a layer surface below every window
    aim = AIM

    def __init__(self, stack, args):
        self.stack, self.kestrin, self.target_program = stack, args.kestrin, args.target
        self.env = stack.enter_context(self.desktop(args))
        self.hands = stack.enter_context(process(self.run_as([args.keyboard, *OUTPUT]), self.env,
                                                 lines=True, stdin=subprocess.PIPE, text=True))
        self.target = stack.enter_context(process(self.run_as([args.target, *self.target_mode]),
                                                  self.env, lines=True))
        wait_for(lambda: "ready" in self.hands.lines and "ready" in self.target.lines, 10,
                 "our keyboard and click target")
        self.send(f"move {self.aim[0]} {self.aim[1]}")

    def desktop(self, args):  # the display server and its session: yields the clients' env
        return sway()

    def run_as(self, argv):  # the clients run as we do
        return argv

    def window(self, kestrin, title):  # Kestrin's window of that title, once shown
        return wait_for(lambda: [w for w in windows(self.env) if w["pid"] == kestrin.pid
                                 and w["name"] == title], 15, f"a window {title!r}")[0]

    def send(self, *commands):
        done = self.hands.lines.count("ok") + len(commands)
        self.hands.stdin.write("".join(command + "\n" for command in commands))
        self.hands.stdin.flush()
        wait_for(lambda: self.hands.lines.count("ok") >= done, 10, f"keys {commands}")

    def start(self, title=texts()["main_title"]):
        # A Kestrin, once a window of it with that title is shown. It chooses native Wayland
        # itself (sway lets it click), and says its texts on stderr.
        kestrin = self.stack.enter_context(process(
            self.run_as([self.kestrin]), dict(self.env, KESTRIN_DEBUG="1"), lines=True,
            stderr=subprocess.STDOUT))
        kestrin.window = self.window(kestrin, title)
        return kestrin

    def clicks_go_on(self, count=4, timeout=5):  # waits for `count` more; their times
        before = len(presses(self.target))
        return wait_for(lambda: presses(self.target)[before + count - 1:] and
                        presses(self.target)[before:], timeout, f"{count} more clicks")

    def stopped(self):  # no click after the bursts on their way
        return settles(lambda: len(presses(self.target)))


def defaults_click_10_per_second_and_f4_stops(session):
    kestrin = session.start()
    check(kestrin.window["app_id"] == APP_ID, f"app id {kestrin.window['app_id']!r}")
    start = len(session.target.lines)
    session.send("key F3")
    session.clicks_go_on(22)
    session.send("key F4")
    check(session.stopped(), "clicks went on after F4")
    check(not held(session.target), f"buttons held: {held(session.target)}")
    times = ticks(button_events(session.target.lines[start:]), [("P", LEFT), ("R", LEFT)] * 2,
                  "the defaults")
    check_rate(times, 10, 1_000_000, "the defaults")  # times in µs


def esc_ends_it_at_1000_per_second_with_no_button_down(session):
    kestrin = session.start()  # the one window: it has the keyboard
    session.send("key 1 0 0 0")  # the rate field comes with its text selected
    # The keys reach the window on its Wayland connection, F3 comes through sway's IPC: nothing
    # orders the two, so give the window time to take the rate.
    time.sleep(0.3)
    session.send("key F3")
    session.clicks_go_on(600, timeout=10)  # 300 ticks: 1000 per second, not 10
    session.send("key Escape")
    wait_for(lambda: kestrin.poll() is not None, 10, "Kestrin to end on Esc")
    check(session.stopped() and not held(session.target), f"buttons held: {held(session.target)}")
    # Its bindings went with it: F3 and F4 are free for other programs again.
    with socket.socket(socket.AF_UNIX) as ipc:
        ipc.connect(session.env["SWAYSOCK"])
        ipc.sendall(b"i3-ipc" + struct.pack("=II", 11, 2) + b'["binding"]')  # subscribe
        ipc.recv(4096)
        session.send("key F3 F4")
        ipc.settimeout(0.3)
        with contextlib.suppress(TimeoutError):
            check(False, f"sway still binds keys: {ipc.recv(4096)[14:]}")


def second_copy_shows_the_hot_key_message_and_first_keeps_clicking(session):
    first = session.start()
    session.send("key F3")
    session.clicks_go_on()
    second = session.start(title="kestrin")  # its message box comes first
    check(second.window["app_id"] == APP_ID, f"second copy's app id {second.window['app_id']!r}")
    message = texts()["hotkey_f3_failed"]
    wait_for(lambda: [line for line in second.lines if line.startswith("kestrin: text")
                      and line.endswith(": " + message)], 10, f"the second copy saying {message!r}")
    session.clicks_go_on()
    session.send("key F4")
    check(session.stopped(), "F4 did not reach the first copy")
    check(first.poll() is None, "the first copy ended")


def f3_works_after_sway_reload(session):
    session.start()
    subprocess.run(["swaymsg", "reload"], env=session.env, check=True, capture_output=True)
    time.sleep(0.5)
    session.send("key F3")
    session.clicks_go_on()
    session.send("key F4")
    check(session.stopped(), "F4 did not stop it after the reload")


def guards(env):  # the pids of the processes guarding key bindings on this sway
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError), open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            if cmdline.read().split(b"\0")[1:3] == [b"--sway-guard", env["SWAYSOCK"].encode()]:
                found.append(int(pid))
    return found


def killed_it_leaves_no_key_bound_and_its_guard_spares_the_next_copy(session):
    """Killed (SIGKILL) while clicking at 1000 per second: no button stays down, and F3 and F4
    reach the focused window again. A guard late to clean up after a killed Kestrin does not
    take the keys from the Kestrin started after it."""
    first = session.start()
    session.send("key 1 0 0 0")
    time.sleep(0.3)  # keys and bindings come by different paths
    session.send("key F3")
    session.clicks_go_on(600, timeout=10)  # 300 ticks: 1000 per second, not 10
    late = wait_for(lambda: guards(session.env), 10, "the guard of Kestrin's bindings")
    check(len(late) == 1, f"guards: {late}")
    os.kill(late[0], signal.SIGSTOP)
    first.kill()
    first.wait()
    check(session.stopped() and not held(session.target), f"buttons held: {held(session.target)}")

    # The next Kestrin starts while the late guard has not cleaned up yet; once it has had time
    # to bind its keys, the late guard cleans up.
    second = session.stack.enter_context(process(
        [session.kestrin], dict(session.env, KESTRIN_DEBUG="1"), lines=True,
        stderr=subprocess.STDOUT))
    wait_for(lambda: len(guards(session.env)) == 2, 10, "the second Kestrin's guard")
    with contextlib.suppress(Failure):
        wait_for(lambda: [w for w in windows(session.env) if w["pid"] == second.pid], 1, "")
    os.kill(late[0], signal.SIGCONT)
    wait_for(lambda: late[0] not in guards(session.env), 10, "the late guard to end")
    wait_for(lambda: [w for w in windows(session.env) if w["pid"] == second.pid and
                      w["name"] == texts()["main_title"]], 15, "the second Kestrin's window")
    session.send("key F3")
    session.clicks_go_on()
    session.send("key F4")
    check(session.stopped(), "F4 did not stop the second Kestrin")

    second.kill()
    second.wait()
    window = session.stack.enter_context(process([session.target_program, "window"],
                                                 session.env, lines=True))
    wait_for(lambda: "focus" in window.lines, 10, "a window of ours to have the keyboard")
    session.send("key F3 F4")
    wait_for(lambda: {"K 61 1", "K 62 1"} <= set(window.lines), 5,
             f"F3 and F4 to reach the focused window (it got {window.lines})")


def run(scenario, session=Session):  # a scenario as the harness runs it: in its own session
    def with_session(args):
        with contextlib.ExitStack() as stack:
            scenario(session(stack, args))
    return with_session


if __name__ == "__main__":
    main({f.__name__: run(f) for f in (
        defaults_click_10_per_second_and_f4_stops,
        esc_ends_it_at_1000_per_second_with_no_button_down,
        second_copy_shows_the_hot_key_message_and_first_keeps_clicking,
        f3_works_after_sway_reload,
        killed_it_leaves_no_key_bound_and_its_guard_spares_the_next_copy)},
        "kestrin", "target", "keyboard")
