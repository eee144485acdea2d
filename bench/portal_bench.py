#!/usr/bin/env python3
"""Click-rate benchmark of the desktop-portal path (KDE Plasma, GNOME): how fast can Kestrin click
through the RemoteDesktop portal, and what does it cost?

Runs the real program under a headless sway with only the portal paths allowed
(tests/portals), its clicks going through the real xdg-desktop-portal frontend to our fake
backend, which stamps each NotifyPointerButton as it arrives (CLOCK_MONOTONIC). Types the
rate, uses the start and stop shortcuts, and writes a Markdown table. It measures; it never
fails on a timing.

    portal_bench.py --build build/bench [--report FILE] [--seconds 4]
"""

import contextlib
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE] + [os.path.join(HERE, "..", "tests", d) for d in ("", "wayland", "portals")]
from harness import wait_for  # noqa: E402
from kestrin_portals import PortalSession, faults  # noqa: E402
from proc_stats import ProcStats  # noqa: E402
from wayland_bench import command_line, percentile, tools_in  # noqa: E402

RATES = [1, 10, 1000]  # clicks per second typed into the field; left double, the default


def run_case(session, rate, seconds):
    """One Kestrin at one rate: start, `seconds` of clicks, stop, Esc."""
    portal, bound = session.portal, len(session.portal.calls("GlobalShortcuts.BindShortcuts"))
    kestrin = session.start()
    wait_for(lambda: len(portal.calls("GlobalShortcuts.BindShortcuts")) > bound, 10, "shortcuts")
    session.send("key " + " ".join(str(rate)))  # the rate field comes with its text selected
    time.sleep(0.3)  # the keys and the shortcut come by different paths
    meters = [ProcStats(pid) for pid in (kestrin.pid, portal.frontend.pid, portal.backend.pid)]
    before, t0 = len(session.buttons()), time.monotonic()
    cpu0 = [m.cpu_seconds() for m in meters]
    session.use("start")
    time.sleep(seconds + 1 / rate)
    session.use("stop")
    elapsed = time.monotonic() - t0
    cpu = [100 * (m.cpu_seconds() - c) / elapsed for m, c in zip(meters, cpu0)]
    time.sleep(0.5)
    session.send("key Escape")
    wait_for(lambda: kestrin.poll() is not None, 10, "Kestrin to end")
    time.sleep(0.3)
    calls = session.buttons()[before:]
    ticks = [int(c[3]) for c in calls if c[2] == "1"][::2]  # left double: two presses a tick
    intervals = [(b - a) / 1000 for a, b in zip(ticks, ticks[1:])]
    span = (ticks[-1] - ticks[0]) / 1e6 if len(ticks) > 1 else 0
    achieved = (len(ticks) - 1) / span if span else 0
    return (f"| {rate} | {1000 / (1000 // rate):.2f} | {achieved:.2f} | "
            f"{percentile(intervals, 50) or 0:.2f} | {percentile(intervals, 99) or 0:.2f} | "
            f"{len(calls) / max(len(ticks), 1) * achieved:.0f} | "
            f"{len(faults(calls))} | {cpu[0]:.1f} | {cpu[1]:.1f} | {cpu[2]:.1f} |")


def table(build, seconds):
    """The rows, measured, as the lines of a Markdown table."""
    lines = ["| rate typed | expected /s | achieved /s | p50 ms | p99 ms | calls /s | "
             "out of order | Kestrin CPU % | frontend CPU % | fake backend CPU % |",
             "|" + "---|" * 10]
    with contextlib.ExitStack() as stack:
        session = PortalSession(stack, tools_in(build))
        for rate in RATES:
            lines.append(run_case(session, rate, seconds))
            print(lines[-1], file=sys.stderr, flush=True)
    lines.append(f"\nLoad average at the end: {os.getloadavg()[0]:.2f} ({os.cpu_count()} CPUs).")
    return lines


if __name__ == "__main__":
    command_line(table)
