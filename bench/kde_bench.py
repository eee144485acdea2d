#!/usr/bin/env python3
"""Click-rate benchmark on KDE Plasma: how fast does Kestrin click through the desktop's
portals, and what does it cost Kestrin, KWin and the portals?

Runs the real program under a headless KWin with the real portals (tests/kde), the user's
consent kept in the permission store, and counts the clicks in our own fullscreen window
(timed on its CLOCK_MONOTONIC as each event arrives), left double at each rate. Writes a
Markdown table. It measures; it never fails on a timing.

    kde_bench.py --build build/debian13 [--report FILE] [--seconds 4]
"""

import contextlib
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE] + [os.path.join(HERE, "..", "tests", d) for d in ("", "wayland", "kde")]
from kestrin_kde import KdeSession  # noqa: E402
from proc_stats import ProcStats  # noqa: E402
from wayland_bench import command_line, fmt, run_case, tools_in  # noqa: E402

RATES = [1, 10, 100, 1000]  # clicks per second typed into the field; left double
PORTALS = (b"/xdg-desktop-portal\0", b"/xdg-desktop-portal-kde\0")


def portal_processes(env):  # the portals this session's bus started
    bus = env["DBUS_SESSION_BUS_ADDRESS"].encode()
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError), open(f"/proc/{pid}/cmdline", "rb") as f, \
                open(f"/proc/{pid}/environ", "rb") as environ:
            if f.read().endswith(PORTALS) and bus in environ.read():
                found.append(ProcStats(int(pid)))
    return found


def table(build, seconds):
    """The rows, measured, as the lines of a Markdown table."""
    lines = ["| rate | expected /s | achieved /s | ratio | p99 ms | ticks | lost/doubled | "
             "Kestrin CPU % | KWin CPU % | portals CPU % |", "|" + "---|" * 10]
    with contextlib.ExitStack() as stack:
        tools = tools_in(build)
        tools.way = tools.plasma = None  # measured, not checked; Plasma's dialogs not answered
        session = KdeSession(stack, tools)
        session.allow()
        for rate in RATES:
            portals = portal_processes(session.env)
            cpu0, t0 = sum(p.cpu_seconds() for p in portals), time.monotonic()
            r = run_case(session, rate, False, seconds)
            portal_cpu = 100 * (sum(p.cpu_seconds() for p in portals) - cpu0) / (time.monotonic() - t0)
            ratio = r["achieved"] / r["expected"] if r["achieved"] else None
            lines.append(f"| {rate} | {r['expected']:.2f} | {fmt(r['achieved'])} | {fmt(ratio, 4)} | "
                         f"{fmt(r['p99'])} | {r['ticks']} | {'none' if r['whole'] else '**yes**'} | "
                         f"{r['cpu']:.1f} | {r['sway_cpu']:.1f} | {portal_cpu:.1f} |")
            print(lines[-1], file=sys.stderr, flush=True)
    lines.append(f"\nLoad average at the end: {os.getloadavg()[0]:.2f} ({os.cpu_count()} CPUs).")
    return lines


if __name__ == "__main__":
    command_line(table)
