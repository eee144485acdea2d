#!/usr/bin/env python3
"""The real Linux program on a private Xvfb, watched from outside: what only the X11 backend
can get wrong (the timer, the key grabs, XTest clicks, the published texts, ending).

    kestrin_e2e.py SCENARIO --kestrin PROGRAM --observer X_OBSERVER
"""

import contextlib
import os
import signal
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import X, button_events, check, check_rate, main, process, settles, texts, ticks, \
    wait_for, xvfb  # noqa: E402

TARGET = (500, 300, 300, 200)  # our click target, clear of Kestrin's windows
POINTER = (650, 400)  # on the target
ASIDE, ON_ASIDE = (500, 550, 300, 150), (650, 600)  # a second target, and a point on it


@contextlib.contextmanager
def desktop(args):
    """Xvfb, the click target under the pointer, Kestrin's window up with the focus."""
    with xvfb() as env:
        x = X(args.observer, env)
        with x.watch(*TARGET) as target, process([args.kestrin], env) as kestrin:
            x("move", *POINTER)
            window = x.wait_window(texts()["main_title"])
            time.sleep(0.3)  # the window takes the keyboard focus as it maps
            yield x, target, kestrin, window


LEFT_DOUBLE = [("p", 1), ("r", 1)] * 2
RIGHT_SINGLE = [("p", 3), ("r", 3)]


def clicking(x, target, seconds, burst=LEFT_DOUBLE):
    """F3, clicking for a while, F4; returns the times of the ticks that landed, each sending
    `burst`. Fails if clicks go on after F4 (beyond the tick already on its way)."""
    start = len(target.lines)
    x.keys("F3")
    time.sleep(seconds)
    x.keys("F4")
    check(settles(lambda: len(button_events(target.lines, "pr"))), "clicks went on after F4")
    return ticks(button_events(target.lines[start:], "pr"), burst, "clicking")


def hot_keys_and_ticks(args):
    with desktop(args) as (x, target, first, _):
        check_rate(clicking(x, target, 2.0), 10, 1000, "defaults")

        # Right single click (Tab, Tab: the click-mode list), under every lock-key combination:
        # the grabs hold for each, and XTest's button 3 is the right button.
        x.keys("Tab", "Tab", "Down", "Down", "Down")
        for locks in (["Caps_Lock"], ["Num_Lock"], ["Caps_Lock", "Num_Lock"]):
            x.keys(*locks)
            found = clicking(x, target, 0.6, RIGHT_SINGLE)
            check(len(found) >= 4, f"{locks} on: {len(found)} ticks")
            x.keys(*locks)

        # A second copy cannot have the hot keys, says so, and the first keeps them.
        with process([args.kestrin], x.env) as second:
            x.wait_window("kestrin", texts()["hotkey_f3_failed"])
            check_rate(clicking(x, target, 1.5, RIGHT_SINGLE), 10, 1000, "the first copy")
            check(first.poll() is None and second.poll() is None, "a copy ended")


def message_box_keeps_ticking(args):
    with desktop(args) as (x, target, _, _):
        # Clicking, then a rejected rate: its message box opens. The rate is typed once the
        # clicks have started: F3 reaches Kestrin as a queued hot-key message, a typed key goes
        # straight to the field, and the two typed in one instant can come in either order.
        x.keys("F3")
        wait_for(lambda: button_events(target.lines, "pr"), 10, "the clicks")
        x.keys("x")
        box = x.wait_window("kestrin", texts()["bad_rate"])
        start = len(target.lines)
        x.keys("F4")  # lost: the box's own loop pre-translates nothing
        time.sleep(1.5)
        check_rate(ticks(button_events(target.lines[start:], "pr"), LEFT_DOUBLE, "under the box"),
                   10, 1000, "under the message box, after F4")
        x.keys("Return")
        wait_for(lambda: box not in x.windows(), 10, "the first box to close")
        x.wait_window("kestrin", texts()["reenter"])
        x.keys("Return", "5")
        check_rate(clicking(x, target, 1.5), 5, 1000, "a rate typed after the boxes")


def press_times(lines):
    """The server's time stamp of each press a target received."""
    return [int(line.split()[2]) for line in lines if line.startswith("p ")]


def presses(lines):
    return sum(line.startswith("p ") for line in lines)


def clicks_follow_the_pointer(args):
    """The pointer moved while clicking at 1000 per second, there and back: the clicks follow
    it, and the pointer placed back where it was at each tick is never pulled back to where it
    was before the move: no press lands there after the first one at the new place (on the
    server's time stamps, as the two watchers may print late)."""
    with desktop(args) as (x, target, _, _), x.watch(*ASIDE) as aside:
        x.keys("1", "0", "0", "0", "F3")
        wait_for(lambda: presses(target.lines) >= 200, 10, "100 ticks on the first target")
        for point, now, before in ((ON_ASIDE, aside, target), (POINTER, target, aside)):
            seen = len(now.lines)
            x("move", *point)
            wait_for(lambda: presses(now.lines[seen:]) >= 1400, 10, f"700 ticks at {point}")
            first = press_times(now.lines[seen:])[0]
            back = [t for t in press_times(before.lines) if t > first]
            check(not back, f"the pointer went back from {point}: {len(back)} presses there")


def stopped_for_a_second(target, kestrin):
    """Stopped (SIGSTOP) for a second at 1000 per second, Kestrin clicks on (SIGCONT) making up
    a few milliseconds of it, not the second. On the server's time stamps: no tick before F3,
    so ticks up to the last one ≤ the periods from F3, less those the stop cost."""
    os.kill(kestrin.pid, signal.SIGSTOP)
    time.sleep(1)
    os.kill(kestrin.pid, signal.SIGCONT)
    seen = len(target.lines)
    wait_for(lambda: presses(target.lines[seen:]) >= 5000, 20, "2500 ticks after the stop")
    lines = list(target.lines)
    first = next(i for i, line in enumerate(lines) if line.startswith("p "))
    f3 = int(next(line for line in reversed(lines[:first]) if line.startswith("K ")).split()[2])
    times = ticks(button_events(lines[first:], "pr"), LEFT_DOUBLE, "around the stop")
    check(len(times) <= times[-1] - f3 + 1 - 250,
          f"{len(times)} ticks in the {times[-1] - f3} ms from F3 with a second's stop")


def ends_cleanly(args):
    """Esc, Enter and the close box end the program at once, while clicking at 1000 per
    second (also after a stop), with every click whole: no button left down. So does a kill
    (SIGKILL), and the server lets its key grabs go with it: the next Kestrin has F3 and F4."""
    for how in ("Escape", "Return", "close box", "SIGKILL", "SIGSTOP"):
        with desktop(args) as (x, target, kestrin, window):
            x.keys("1", "0", "0", "0", "F3")
            wait_for(lambda: presses(target.lines) >= 400, 10, "200 ticks at 1000 per second")
            if how == "SIGSTOP":
                stopped_for_a_second(target, kestrin)
                x.keys("Escape")
            elif how == "close box":
                x("close", window.id)
            elif how == "SIGKILL":
                kestrin.kill()
            else:
                x.keys(how)
            wait_for(lambda: kestrin.poll() is not None, 10, f"Kestrin to end after {how}")
            check(kestrin.returncode == (-9 if how == "SIGKILL" else 0),
                  f"exit code {kestrin.returncode} after {how}")

            def pressed():  # every press and release the server received, on any window
                return [sum(line.startswith(kind) for line in target.lines) for kind in "PR"]
            check(settles(pressed) and pressed()[0] == pressed()[1],
                  f"after {how}: presses, releases {pressed()}")
            if how == "SIGKILL":
                with process([args.kestrin], x.env):
                    x.wait_window(texts()["main_title"])
                    time.sleep(0.3)
                    check(len(clicking(x, target, 0.5)) >= 3, "the next Kestrin did not click")


if __name__ == "__main__":
    main({f.__name__: f for f in (hot_keys_and_ticks, message_box_keeps_ticking,
                                  clicks_follow_the_pointer, ends_cleanly)},
         "kestrin", "observer")
