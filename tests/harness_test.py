#!/usr/bin/env python3
"""The end-to-end suites' tick counting, on event streams made here: a host stealing time
must not make one tick count as two, and a program's real faults must still fail."""

import unittest

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


if __name__ == "__main__":
    unittest.main()
