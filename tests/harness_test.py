#!/usr/bin/env python3
"""The suites' own machinery: their tick counting, on event streams made here (a host stealing
time must not make one tick count as two, and a program's real faults must still fail), and
a desktop hung as it starts started afresh.

    harness_test.py TickCounting | DesktopStart"""

import contextlib
import io
import os
import unittest

import harness
from harness import Failure, check_rate, ticks

DOUBLE = [("P", 1), ("R", 1)] * 2


def stream(per_second, count, late=()):
    """Left double clicks at per_second from time 0 (ms), each event a millisecond after the
    one before; the ticks numbered in `late` have their second click held back 80 ms."""
    events = []
    for tick in range(count):
        start = tick * 1000 / per_second
        for i, (kind, button) in enumerate(DOUBLE):
            events.append((kind, button, start + i + (80 if tick in late and i >= 2 else 0)))
    return events


class TickCounting(unittest.TestCase):
    def test_a_burst_held_back_by_the_host_is_one_tick(self):
        times = ticks(stream(10, 20, late={3, 4, 11}), DOUBLE, "late")
        self.assertEqual(len(times), 20)
        check_rate(times, 10, 1000, "late")

    def test_ticks_lost_to_a_loaded_machine_pass_but_not_most_of_them_nor_extra_ticks(self):
        events = stream(10, 20)
        check_rate(ticks(events[:20] + events[28:], DOUBLE, "two lost"), 10, 1000, "two lost")
        with self.assertRaises(Failure):
            check_rate(ticks(stream(5, 10), DOUBLE, "half"), 10, 1000, "half the rate")
        with self.assertRaises(Failure):  # more ticks than periods
            check_rate(ticks(stream(20, 30), DOUBLE, "double"), 10, 1000, "double the rate")

    def test_a_split_or_broken_burst_fails(self):
        events = stream(10, 5)
        for broken in (events[:6] + events[7:],  # a release lost: a button stays down
                       events[:5] + [events[6], events[5]] + events[7:],  # out of order
                       events[:8] + [("P", 3, 201)] + events[8:]):  # another button's press
            with self.assertRaises(Failure):
                ticks(broken, DOUBLE, "broken")


# A compositor that hangs at its first start, leaving a process of its own that keeps the
# socket's lock, as gnome-shell 43 once did on a loaded machine; at its next start, it makes
# its socket once it has the lock, or ends with status 1 when it cannot.
HANGS_FIRST = """
import fcntl, os, sys, time
runtime, name, home = os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"], os.environ["HOME"]
lock = open(os.path.join(runtime, name + ".lock"), "a")
try:
    fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
except BlockingIOError:
    sys.exit(1)
if not os.path.exists(os.path.join(home, "started")):
    open(os.path.join(home, "started"), "w").close()
    os.fork()
    time.sleep(3600)
open(os.path.join(runtime, name), "w").close()
time.sleep(3600)
"""


class DesktopStart(unittest.TestCase):
    def test_a_desktop_hung_as_it_starts_is_started_afresh_without_what_it_left(self):
        with harness.compositor_home() as (home, runtime, _), harness.orphans_ended():
            with open(os.path.join(home, "compositor.py"), "w") as f:
                f.write(HANGS_FIRST)
            env = dict(harness.clean_env(), HOME=home, XDG_RUNTIME_DIR=runtime,
                       WAYLAND_DISPLAY="wayland-hangs")
            said = io.StringIO()
            with contextlib.redirect_stderr(said), harness.desktop(
                    "compositor", ["/usr/bin/python3", os.path.join(home, "compositor.py")], env,
                    timeout=1, portal=False):
                self.assertIn("compositor started afresh", said.getvalue())


if __name__ == "__main__":
    unittest.main()
