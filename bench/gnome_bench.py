#!/usr/bin/env python3
"""Click-rate benchmark on a real GNOME: how fast Kestrin clicks through GNOME's portal, and
what it costs Kestrin, the shell and the portals.

Runs the real program under a headless gnome-shell with GNOME's own portals (tests/gnome): the
user allows the clicks in GNOME's dialog, types the rate and presses F3, and a fullscreen
Wayland window of ours stamps each button event as it reaches it (CLOCK_MONOTONIC). On GNOME 48
and later the clicks go through EIS, or through NotifyPointerButton with a build made with
KESTRIN_LIBEI=OFF; on GNOME 43 to 47 through NotifyPointerButton. Left double, the default. It
measures; it never fails on a timing.

    gnome_bench.py --build build/bench [--report FILE] [--seconds 4]
"""

import contextlib
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE] + [os.path.join(HERE, "..", "tests", d) for d in ("", "wayland", "gnome")]
from harness import Failure, button_events, settles  # noqa: E402
from kestrin_gnome import GnomeSession  # noqa: E402
from kestrin_wayland import LEFT  # noqa: E402
from proc_stats import ProcStats  # noqa: E402
from wayland_bench import command_line, percentile, tools_in  # noqa: E402

RATES = [1, 10, 100, 1000]
PORTALS = ("xdg-desktop-portal", "xdg-desktop-portal-gnome")


def shell_version():  # the GNOME release installed
    return int(re.search(r"(\d+)\.", subprocess.run(["gnome-shell", "--version"],
                                                    capture_output=True, text=True).stdout)[1])


def portal_pids(env):  # the portal processes of this session, found by its bus address
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError):
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                name = os.path.basename(f.read().split(b"\0")[0]).decode()
            with open(f"/proc/{pid}/environ", "rb") as f:
                ours = env["DBUS_SESSION_BUS_ADDRESS"].encode() in f.read()
            if name in PORTALS and ours:
                found.append(int(pid))
    return found


def run_case(build, rate, seconds):
    """A GNOME session, one Kestrin allowed to click, `seconds` of clicks at `rate`."""
    with contextlib.ExitStack() as stack:
        tools = tools_in(build)
        tools.shell = shell_version()
        session = GnomeSession(stack, tools)
        kestrin = session.start()
        session.clicking(kestrin)
        session.clicks_go_on(4, timeout=20)
        session.send("key F4")
        settles(lambda: len(session.target.lines))
        session.to_kestrin(kestrin)
        session.send("key " + " ".join(str(rate)))  # the rate field has its text selected
        time.sleep(0.3)  # keys and shortcuts come by different paths
        path = "EIS" if any("through EIS" in line for line in kestrin.lines) else \
            "NotifyPointerButton"
        pids = [kestrin.pid, int(session.env["KESTRIN_SERVER_PID"]), *portal_pids(session.env)]
        meters = [ProcStats(pid) for pid in pids]
        cpu0, start, t0 = [m.cpu_seconds() for m in meters], len(session.target.lines), \
            time.monotonic()
        session.press_f3(kestrin)
        time.sleep(seconds + 1 / rate)
        session.send("key F4")
        elapsed = time.monotonic() - t0
        cpu = [100 * (m.cpu_seconds() - c) / elapsed for m, c in zip(meters, cpu0)]
        settles(lambda: len(session.target.lines), quiet=1, timeout=20)
        presses = [t for kind, button, t in button_events(session.target.lines[start:])
                   if kind == "P" and button == LEFT]
        ticks = presses[::2]  # left double: two presses a tick
        intervals = [(b - a) / 1000 for a, b in zip(ticks, ticks[1:])]
        span = (ticks[-1] - ticks[0]) / 1e6 if len(ticks) > 1 else 0
        achieved, expected = ((len(ticks) - 1) / span if span else 0), 1000 / (1000 // rate)
        return (f"| {rate} | {path} | {expected:.2f} | {achieved:.2f} | "
                f"{achieved / expected:.3f} | {percentile(intervals, 99) or 0:.2f} | "
                f"{cpu[0]:.1f} | {cpu[1]:.1f} | {sum(cpu[2:]):.1f} |")


def table(build, seconds):
    """The rows, measured, as the lines of a Markdown table."""
    with open("/etc/debian_version") as f:
        debian = f.read().strip()
    lines = [f"GNOME Shell {shell_version()}, Debian {debian}.", "",
             "| rate typed | clicks through | expected /s | achieved /s | ratio | p99 ms | "
             "Kestrin CPU % | gnome-shell CPU % | portals CPU % |", "|" + "---|" * 9]
    for rate in RATES:
        try:
            lines.append(run_case(build, rate, seconds))
        except Failure as failure:  # a row the desktop did not let us measure says why
            lines.append(f"| {rate} | not measured: {failure} |")
        print(lines[-1], file=sys.stderr, flush=True)
    lines.append(f"\nLoad average at the end: {os.getloadavg()[0]:.2f} ({os.cpu_count()} CPUs).")
    return lines


if __name__ == "__main__":
    command_line(table)
