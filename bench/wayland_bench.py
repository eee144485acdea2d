#!/usr/bin/env python3
"""Click-rate benchmark on native Wayland: does Kestrin click exactly as often as it says there?

Runs the real program under a headless wlroots compositor (tests/harness.py): sway, or labwc
or Wayfire with the README's key bindings calling Kestrin on the session bus. Types the rate
and picks the mode with our virtual keyboard, presses F3 and F4 (the compositor's bindings),
and counts the clicks in our own window under the pointer (tests/wayland/wl_click_target, timed
on its CLOCK_MONOTONIC as each event arrives). Writes a Markdown table. It measures; it never
fails on a timing.

    wayland_bench.py --build build/bench [--compositor labwc] [--report FILE] [--seconds 4]
"""

import argparse
import contextlib
import glob
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "tests"), os.path.join(HERE, "..", "tests", "wayland")]
from harness import wait_for  # noqa: E402
from kestrin_wayland import Session  # noqa: E402
from proc_stats import ProcStats  # noqa: E402

RATES = [1, 2, 5, 10, 33, 100, 1000]  # clicks per second typed into the field, under sway
OTHER_RATES = [1, 10, 100, 1000]  # under the other compositors, left double only
LEFT = 272


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, round(p / 100 * (len(ordered) - 1)))] if ordered else None


def events(lines, kind, start_us, stop_us=None):
    return [int(line.split()[2]) for line in lines if line.startswith(f"{kind} {LEFT} ")
            and int(line.split()[2]) >= start_us and (stop_us is None or int(line.split()[2]) <= stop_us)]


def run_case(session, rate, single, seconds):
    """One Kestrin, one rate and mode: F3, `seconds` of clicks, F4, Esc."""
    period_ms = 1000 // rate
    kestrin = session.start()  # the one window: it has the keyboard
    session.send("key " + " ".join(str(rate)))  # the rate field comes with its text selected
    if single:
        session.send("key Tab Tab Down")  # the rate field, Close, then the click-mode list
    time.sleep(0.3)  # the keys and F3 come by different paths: let the window take them first
    ours, sway = ProcStats(kestrin.pid), ProcStats(int(session.env["KESTRIN_SERVER_PID"]))
    before = len(session.target.lines)
    cpu0, sway0, t0 = ours.cpu_seconds(), sway.cpu_seconds(), time.monotonic()
    f3_us = time.monotonic_ns() // 1000
    session.send("key F3")
    time.sleep(seconds + period_ms / 1000)
    session.send("key F4")
    f4_us = time.monotonic_ns() // 1000
    cpu1, sway1, t1 = ours.cpu_seconds(), sway.cpu_seconds(), time.monotonic()
    time.sleep(0.5)
    session.send("key Escape")
    wait_for(lambda: kestrin.poll() is not None, 10, "Kestrin to end")
    lines = session.target.lines[before:]
    presses = events(lines, "P", f3_us, f4_us)
    per_tick = 1 if single else 2
    ticks = presses[::per_tick]
    intervals = [(b - a) / 1000 for a, b in zip(ticks, ticks[1:])]
    span_ms = (ticks[-1] - ticks[0]) / 1000 if len(ticks) > 1 else 0
    return {
        "period": period_ms, "mode": "left single" if single else "left double",
        "expected": 1000 / period_ms, "ticks": len(ticks),
        "achieved": (len(ticks) - 1) * 1000 / span_ms if span_ms else None,
        "p50": percentile(intervals, 50), "p99": percentile(intervals, 99),
        "missed": max(0, round(span_ms / period_ms) + 1 - len(ticks)) if span_ms else None,
        "whole": len(presses) % per_tick == 0 and
        len(events(lines, "P", f3_us)) == len(events(lines, "R", f3_us)),
        "after": len(events(lines, "P", f4_us + 50_000)),
        "cpu": 100 * (cpu1 - cpu0) / (t1 - t0), "sway_cpu": 100 * (sway1 - sway0) / (t1 - t0)}


def fmt(value, digits=2):
    return "–" if value is None else f"{value:.{digits}f}"


def row(r):
    ratio = r["achieved"] / r["expected"] if r["achieved"] else None
    return (f"| {r['period']} | {r['mode']} | {r['expected']:.2f} | {fmt(r['achieved'])} | "
            f"{fmt(ratio, 4)} | {fmt(r['p50'])} | {fmt(r['p99'])} | {r['ticks']} | "
            f"{fmt(r['missed'], 0) if r['missed'] is not None else '–'} | "
            f"{'none' if r['whole'] else '**yes**'} | {r['after']} | {r['cpu']:.1f} | "
            f"{r['sway_cpu']:.1f} |")


def tools_in(build, compositor="sway"):
    """Kestrin and our Wayland test clients in a build, and the compositor to run them on."""
    return argparse.Namespace(kestrin=os.path.join(build, "kestrin"),
                              target=os.path.join(build, "tests", "wayland", "wl_click_target"),
                              keyboard=os.path.join(build, "tests", "wayland", "wl_keyboard"),
                              compositor=compositor)


def table(build, seconds, compositor="sway"):
    """The rows, measured, as the lines of a Markdown table."""
    cases = [(rate, single) for rate in RATES for single in (False, True)] \
        if compositor == "sway" else [(rate, False) for rate in OTHER_RATES]
    lines = ["| period ms | mode | expected /s | achieved /s | ratio | p50 ms | p99 ms | ticks | "
             f"missed | lost/doubled | after F4 | Kestrin CPU % | {compositor} CPU % |",
             "|" + "---|" * 13]
    with contextlib.ExitStack() as stack:
        session = Session(stack, tools_in(build, compositor))
        for rate, single in cases:
            lines.append(row(run_case(session, rate, single, seconds)))
            print(lines[-1], file=sys.stderr, flush=True)
    lines.append(f"\nLoad average at the end: {os.getloadavg()[0]:.2f} ({os.cpu_count()} CPUs).")
    return lines


def version(package):  # as Debian installed it, without its epoch and revision
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True,
                          text=True).stdout.split(":")[-1].split("-")[0]


def other_compositors(build, seconds):
    """The labwc and Wayfire tables, each under its name and version; Wayfire's only where it
    can run: 0.10 draws with pixman, 0.9 with OpenGL ES only, on a DRM render device."""
    lines = [f"### labwc {version('labwc')}", ""] + table(build, seconds, "labwc") + [""]
    wayfire = version("wayfire")
    lines += [f"### Wayfire {wayfire}", ""]
    if not wayfire.startswith("0.9") or glob.glob("/dev/dri/renderD*"):
        return lines + table(build, seconds, "wayfire") + [""]
    return lines + ["Not measured: Wayfire 0.9 draws with OpenGL ES only and does not start "
                    "without a DRM render device, which this machine lacks.", ""]


def command_line(measure, *options):
    """The command line of the Wayland benchmarks: measure(build, seconds, OPTION=VALUE...)
    gives the table, for those of `options` given (--OPTION VALUE)."""
    parser = argparse.ArgumentParser(description=sys.modules["__main__"].__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="a build with kestrin and tests/wayland")
    parser.add_argument("--report", help="write the table here, not to stdout")
    parser.add_argument("--seconds", type=float, default=4.0, help="clicking time per row")
    for option in options:
        parser.add_argument("--" + option)
    args = parser.parse_args()
    given = {option: getattr(args, option) for option in options if getattr(args, option)}
    text = "\n".join(measure(os.path.abspath(args.build), args.seconds, **given)) + "\n"
    if args.report:
        with open(args.report, "w") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    command_line(table, "compositor")  # sway, labwc or wayfire
