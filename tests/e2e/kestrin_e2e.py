#!/usr/bin/env python3
"""The real Linux program on a private Xvfb, watched from outside: what only the X11 backend
can get wrong (the timer, the key grabs, XTest clicks, the published texts, ending).

    kestrin_e2e.py SCENARIO --kestrin PROGRAM --observer X_OBSERVER
"""

import contextlib
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import X, check, main, process, texts, wait_for, xvfb  # noqa: E402

TARGET = (500, 300, 300, 200)  # our click target, clear of Kestrin's windows
POINTER = (650, 400)  # on the target


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


def bursts(lines):
    """The presses the target received, grouped into the ticks' bursts: [(server ms,
    [button, ...]), ...]. A burst reaches the server in one write, within a millisecond or
    two; ticks here are 100 ms apart."""
    found = []
    for kind, button, ms, _ in (line.split() for line in lines if line.startswith("p ")):
        if found and int(ms) - found[-1][0] <= 5:
            found[-1][1].append(int(button))
        else:
            found.append((int(ms), [int(button)]))
    return found


def clicking(x, target, seconds):
    """F3, clicking for a while, F4; returns the bursts that landed. Fails if clicks go on
    after F4 (beyond the tick already on its way)."""
    start = len(target.lines)
    x.keys("F3")
    time.sleep(seconds)
    x.keys("F4")
    time.sleep(0.3)
    landed = len(target.lines)
    time.sleep(0.7)
    check(len(target.lines) == landed, "clicks went on after F4")
    return bursts(target.lines[start:landed])


def check_rate(found, per_second, what):
    check(len(found) >= 2, f"{what}: {len(found)} ticks")
    rate = (len(found) - 1) * 1000 / max(1, found[-1][0] - found[0][0])
    check(0.85 * per_second <= rate <= 1.05 * per_second,
          f"{what}: {rate:.1f} ticks per second, not {per_second}")


def hot_keys_and_ticks(args):
    with desktop(args) as (x, target, first, _):
        found = clicking(x, target, 2.0)
        check_rate(found, 10, "defaults")
        check(all(buttons == [1, 1] for _, buttons in found), f"not left double: {found}")

        # Right single click (Tab, Tab: the click-mode list), under every lock-key combination:
        # the grabs hold for each, and XTest's button 3 is the right button.
        x.keys("Tab", "Tab", "Down", "Down", "Down")
        for locks in (["Caps_Lock"], ["Num_Lock"], ["Caps_Lock", "Num_Lock"]):
            x.keys(*locks)
            found = clicking(x, target, 0.6)
            check(len(found) >= 4 and all(b == [3] for _, b in found), f"{locks} on: {found}")
            x.keys(*locks)

        # A second copy cannot have the hot keys, says so, and the first keeps them.
        with process([args.kestrin], x.env) as second:
            x.wait_window("kestrin", texts()["hotkey_f3_failed"])
            check_rate(clicking(x, target, 1.5), 10, "the first copy")
            check(first.poll() is None and second.poll() is None, "a copy ended")


def message_box_keeps_ticking(args):
    with desktop(args) as (x, target, _, _):
        x.keys("F3", "x")  # clicking, then a rejected rate: its message box opens
        box = x.wait_window("kestrin", texts()["bad_rate"])
        start = len(target.lines)
        x.keys("F4")  # lost: the box's own loop pre-translates nothing
        time.sleep(1.5)
        check_rate(bursts(target.lines[start:]), 10, "under the message box, after F4")
        x.keys("Return")
        wait_for(lambda: box not in x.windows(), 10, "the first box to close")
        x.wait_window("kestrin", texts()["reenter"])
        x.keys("Return", "5")
        check_rate(clicking(x, target, 1.5), 5, "a rate typed after the boxes")


def ends_cleanly(args):
    """Esc, Enter and the close box end the program at once, while clicking at 1000 per
    second, with every click whole: no button left down."""
    for how in ("Escape", "Return", "close box"):
        with desktop(args) as (x, target, kestrin, window):
            x.keys("1", "0", "0", "0", "F3")
            wait_for(lambda: sum(line.startswith("p ") for line in target.lines) >= 400, 10,
                     "200 ticks at 1000 per second")
            if how == "close box":
                x("close", window.id)
            else:
                x.keys(how)
            wait_for(lambda: kestrin.poll() is not None, 10, f"Kestrin to end after {how}")
            check(kestrin.returncode == 0, f"exit code {kestrin.returncode} after {how}")
            time.sleep(0.3)  # every press and release the server received, on any window
            presses = sum(line.startswith("P ") for line in target.lines)
            releases = sum(line.startswith("R ") for line in target.lines)
            check(presses == releases, f"after {how}: {presses} presses, {releases} releases")


if __name__ == "__main__":
    main({f.__name__: f for f in (hot_keys_and_ticks, message_box_keeps_ticking, ends_cleanly)},
         "kestrin", "observer")
