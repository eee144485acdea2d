"""The Windows section of the click-rate benchmark: the Windows build under Wine.

Five kinds of rows, at every period:
  ceiling      a bare periodic high-resolution waitable timer waited on in a loop
               (kestrin_timer_rate.exe bare): the most any tick path can get under Wine
  clicking ceiling
               the same loop doing a clicker's least at each tick on the click target (read
               and place the pointer, one SendInput of a left double click;
               kestrin_timer_rate.exe bare-click): the most any clicker can get under Wine
  alone        the program's own timer code and loop, nothing else
               (kestrin_timer_rate.exe loop)
  message box  the same timer, its ticks taken by a loop not ours, as inside a message box
               (kestrin_timer_rate.exe foreign)
  end to end   kestrin.exe clicking our Win32 click target (kestrin_click_target.exe),
               started and stopped by real F3 and F4 key presses; kestrin_click_rate.exe
               times F3 and F4 inside Wine and counts the presses the target receives, the
               last ones once the clicks still queued in Wine have landed: ratio = ticks /
               whole periods between F3 and F4
  floor        the same with plain SetTimer (KESTRIN_PLAIN_TIMER=1), alone and end to end

A timer row lasts a whole number of periods and half a period more; its ratio is the ticks
over those whole periods. CPU is of the program's process and of the wineserver: for a timer
row over its run, for a clicking row over 2 s of clicking before the rate is measured.
It measures; it never fails on a timing.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_TESTS = os.path.join(HERE, "..", "tests", "wine")
# The Wine test helpers, used as they are: a session (private Xvfb, copied prefix, programs
# started and inspected), the prefix preparation, and the window identifiers.
sys.path.insert(0, WINE_TESTS)
from kestrin_ids import DIALOG_CLASS, IDC_CLICK_MODE, IDC_RATE, MAIN_TITLE, TARGET_CLASS  # noqa: E402
from kestrin_ids import CB_SETCURSEL, WM_CLOSE  # noqa: E402
from wine_session import check, prepare, session, wait_for  # noqa: E402
from proc_stats import ProcStats, StolenTime  # noqa: E402

PERIODS = [1, 2, 5, 10, 33, 100, 1000]  # ms
MODES = [("left double", 0, 2), ("left single", 1, 1)]  # name, list index, presses per tick
TARGET_RECT = (450, 120, 400, 300)
POINTER = (800, 200)  # on the target, clear of the centred main window
CPU_SECONDS = 2.0


def wineserver_stats(prefix):
    """The wineserver serving this prefix."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/comm") as f:
                if not f.read().startswith("wineserver"):  # wineserver64 on Debian
                    continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if f"WINEPREFIX={prefix}".encode() in f.read().split(b"\0"):
                    return ProcStats(int(pid))
        except OSError:
            continue
    return None


def periods_in_run(period, seconds):
    return max(3, round(seconds * 1000 / period))


def settled_target(wine):
    """Waits until the click target has taken every click still queued in Wine."""
    last, since = None, time.monotonic()
    while time.monotonic() - since < 0.5:
        time.sleep(0.1)
        now = wine.inspect("dump", TARGET_CLASS, "*")["title"]
        if now != last:
            last, since = now, time.monotonic()


def timer_row(wine, period, mode, seconds, plain=False):
    """kestrin_timer_rate.exe over a whole number of periods and half a period more: ticks,
    ratio to the whole periods, longest gap, CPU % of the program and of the wineserver."""
    n = periods_in_run(period, seconds)
    server = wineserver_stats(wine.env["WINEPREFIX"])
    s0 = server.cpu_seconds() if server else 0.0
    stolen = StolenTime()
    process = wine.start("kestrin_timer_rate.exe", period, (n + 0.5) * period / 1000, mode,
                         env={"KESTRIN_PLAIN_TIMER": "1" if plain else "0"},
                         stdout=subprocess.PIPE)
    out = process.stdout.read()
    _, _, usage = os.wait4(process.pid, 0)
    process.returncode = 0
    s1 = server.cpu_seconds() if server else 0.0
    if mode == "bare-click":
        settled_target(wine)  # the next row starts with no clicks of this one still queued
    report = json.loads(out.decode())
    return {"ticks": report["ticks"], "expected": n, "ratio": report["ticks"] / n,
            "rate": report["ticks"] / n * 1000 / period, "longest": report["longestIntervalMs"],
            "cpu": 100 * (usage.ru_utime + usage.ru_stime) / report["seconds"],
            "server_cpu": 100 * (s1 - s0) / report["seconds"] if server else None,
            "stolen": stolen.share()}


class Clicker:
    """kestrin.exe on the session, clicking the click target under the pointer."""

    def __init__(self, wine, plain):
        self.wine = wine
        self.process = wine.start("kestrin.exe", env={"KESTRIN_PLAIN_TIMER": "1" if plain else "0"})
        wine.visible_window(DIALOG_CLASS, MAIN_TITLE)
        self.stats = ProcStats(self.process.pid)
        self.server = wineserver_stats(wine.env["WINEPREFIX"])
        check(self.server is not None, "no wineserver found for the prefix")
        # The X focus leaves the target first, so that focusing it again is news to Wine,
        # which then makes the target the foreground window again.
        wine.xtest("move", 1, 1)
        wine.xtest("focus")
        wine.xtest("move", *POINTER)
        wine.xtest("focus")
        wait_for(lambda: wine.inspect("dump", TARGET_CLASS, "*")["foreground"], 5, "focus")

    def close(self):
        self.wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, 0, WM_CLOSE, 0)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def run(self, period, mode_index, per_tick, seconds):
        """F3, a whole number of periods and half a period, F4: the ticks the target received,
        and the time between F3 and F4, both from kestrin_click_rate.exe inside Wine; CPU over
        2 s of clicking."""
        wine = self.wine
        wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, str(1000 // period))
        wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, IDC_CLICK_MODE, CB_SETCURSEL, mode_index)
        meter = wine.start("kestrin_click_rate.exe", per_tick, stdout=subprocess.PIPE)
        check(meter.stdout.readline().strip() == b"ready", "the click meter did not start")
        run_seconds = (periods_in_run(period, seconds) + 0.5) * period / 1000
        wine.xtest("key", "F3")
        stolen = StolenTime()
        started = time.monotonic()
        time.sleep(0.3)
        cpu0, s0, t0 = self.stats.cpu_seconds(), self.server.cpu_seconds(), time.monotonic()
        time.sleep(CPU_SECONDS)
        cpu1, s1, t1 = self.stats.cpu_seconds(), self.server.cpu_seconds(), time.monotonic()
        time.sleep(max(0.0, run_seconds - (time.monotonic() - started)))
        wine.xtest("key", "F4")
        stolen = stolen.share()
        out, _ = meter.communicate(timeout=120)
        report = json.loads(out)
        expected = int(report["seconds"] * 1000 // period)
        ratio = report["ticks"] / expected
        return {"ticks": report["ticks"], "expected": expected, "seconds": report["seconds"],
                "landed": report["landedSeconds"], "ratio": ratio, "rate": ratio * 1000 / period,
                "cpu": 100 * (cpu1 - cpu0) / (t1 - t0),
                "server_cpu": 100 * (s1 - s0) / (t1 - t0), "stolen": stolen}


def run(windows_build, x_input, seconds=4.0, log=print, periods=PERIODS):
    """Measures every row; returns {"ceiling"|"alone"|"message box"|"floor alone"|"floor":
    {period: row}, "end to end": {(period, mode): row}, "machine": text}. The rows of one
    period are measured one after the other, so a machine whose load changes compares like
    with like."""
    results = {key: {} for key in ("ceiling", "clicking ceiling", "alone", "message box",
                                   "end to end", "floor alone", "floor")}
    load_at_start = os.getloadavg()[0]

    def logged(kind, period, row, name=""):
        log(f"wine {kind:<11} {period:>4} ms {name:<11} {row['rate']:8.2f}/s "
            f"ratio {row['ratio']:.4f} cpu {row['cpu']:.1f}% "
            f"wineserver {_f(row['server_cpu'], 1)}% stolen {row['stolen']:.1f}%")
        return row

    with tempfile.TemporaryDirectory(prefix="kestrin-wine-bench-") as tmp:
        template = os.path.join(tmp, "template")
        prepare(template)
        args = argparse.Namespace(programs=windows_build, template=template, x_input=x_input)
        with session(args) as wine:
            # Up first, so the wineserver stays up for the whole session.
            wine.start("kestrin_click_target.exe", *TARGET_RECT)
            wine.visible_window(TARGET_CLASS, "*")
            for plain in (False, True):
                clicker = Clicker(wine, plain)
                try:
                    for period in periods:
                        if plain:
                            results["floor alone"][period] = logged(
                                "floor alone", period, timer_row(wine, period, "loop", seconds, True))
                            results["floor"][period] = logged(
                                "floor", period, clicker.run(period, 0, 2, seconds), "left double")
                            continue
                        for key, mode in (("ceiling", "bare"), ("alone", "loop"),
                                          ("message box", "foreign"),
                                          ("clicking ceiling", "bare-click")):
                            results[key][period] = logged(
                                key, period, timer_row(wine, period, mode, seconds))
                        for name, index, per_tick in MODES:
                            results["end to end"][(period, name)] = logged(
                                "kestrin.exe", period, clicker.run(period, index, per_tick, seconds),
                                name)
                finally:
                    clicker.close()
    results["machine"] = wine_version()
    results["load"] = (load_at_start, os.getloadavg()[0])
    return results


def wine_version():
    try:
        return subprocess.run([os.path.join("/usr/lib/wine", "wine64"), "--version"],
                              capture_output=True, text=True, timeout=30).stdout.strip()
    except OSError:
        return "Wine ?"


def _f(value, digits=2):
    return "–" if value is None else f"{value:.{digits}f}"


SECTION_TITLE = "## Windows under Wine"


def report_section(results, date):
    """The Markdown section of the Windows rows."""
    lines = [
        SECTION_TITLE,
        "",
        "Made by `make bench`, or alone by `make bench-windows` (bench/wine_bench.py): the "
        "Windows build "
        f"under {results['machine']} on a private Xvfb, same machine, {date}. Rows per period: "
        "the **ceiling**, a bare periodic high-resolution waitable timer waited on in a loop; "
        "the **clicking ceiling**, the same loop doing a clicker's least at each tick on the "
        "click target (read and place the pointer, one `SendInput` of a left double click), "
        "the most any clicker can get here; "
        "the program's **tick path alone** (its timer and its modal loop's wait, no clicking), "
        "and the same **inside a message box** (ticks posted to a loop not ours); "
        "**kestrin.exe end to end**, started and stopped by real F3 and F4 key presses, "
        "clicking our Win32 click target (which shows its counts at most every 50 ms, so that "
        "it loads the machine no more than it must): a meter inside Wine times F3 and F4 as "
        "Wine takes them "
        "(a low-level keyboard hook) and counts the presses the target receives, the last ones "
        "once the clicks still queued in Wine have landed (“landed after F4”); the **floor**, "
        "the same with plain `SetTimer` (`KESTRIN_PLAIN_TIMER=1`). Every row runs a whole "
        "number of periods and half a period more (at least 4 s); its ratio is ticks ÷ those "
        "whole periods, achieved /s = ratio × 1000 / period. CPU, in "
        "% of one core, is of the program's process and of the wineserver: over a timer row's "
        "run, and over 2 s of clicking before the rate is measured. “Stolen” is the share of "
        "both processors' time that the host of this virtual machine gave to something else "
        "during the row (steal in /proc/stat): a tick due while its processor is away comes "
        "late, and a tick more than a period late is lost.",
        "",
        "| period ms | row | expected /s | achieved /s | ratio | ticks | longest gap ms | "
        "landed after F4 s | CPU % | wineserver CPU % | stolen % |",
        "|" + "---|" * 11,
    ]
    worst = None
    for period in sorted(results["ceiling"]):
        expected = 1000 / period
        ceiling = results["ceiling"][period]

        def timer(name, row):
            lines.append(f"| {period} | {name} | {expected:.2f} | {row['rate']:.2f} | "
                         f"{row['ratio']:.4f} | {row['ticks']} of {row['expected']} | "
                         f"{row['longest']:.2f} | – | "
                         f"{_f(row['cpu'], 1)} | {_f(row['server_cpu'], 1)} | "
                         f"{row['stolen']:.1f} |")

        def clicks(name, row):
            lines.append(f"| {period} | {name} | {expected:.2f} | {row['rate']:.2f} | "
                         f"{row['ratio']:.4f} | {row['ticks']:g} of {row['expected']} | – | "
                         f"{row['landed']:.2f} | {row['cpu']:.1f} | {_f(row['server_cpu'], 1)} | "
                         f"{row['stolen']:.1f} |")

        timer("ceiling: bare timer", ceiling)
        timer("tick path alone", results["alone"][period])
        timer("tick path, inside a message box", results["message box"][period])
        clicking_ceiling = results["clicking ceiling"][period]
        timer("clicking ceiling: bare timer, left double", clicking_ceiling)
        for name, _, _ in MODES:
            row = results["end to end"][(period, name)]
            clicks(f"kestrin.exe, {name}", row)
            gap = (ceiling["ratio"] - row["ratio"], clicking_ceiling["ratio"] - row["ratio"])
            if worst is None or row["ratio"] < worst[0]:
                worst = (row["ratio"], period, name, gap)
        timer("floor: SetTimer alone", results["floor alone"][period])
        clicks("floor: SetTimer, left double", results["floor"][period])
    lines += [
        "",
        f"Lowest end-to-end ratio: {worst[0]:.4f} ({worst[2]} at {worst[1]} ms), "
        f"{worst[3][0]:.4f} below that period's ceiling and {worst[3][1]:+.4f} below its "
        "clicking ceiling (a negative figure: above it). Load average (1 min) of the machine at "
        f"the start and the end of these rows: {results['load'][0]:.2f}, "
        f"{results['load'][1]:.2f}. Where clicks land seconds after F4, Wine's input path "
        "(wineserver, the target's own handling of each press) falls behind; they all land. "
        "Plain `SetTimer` cannot go below Wine's 10 ms minimum.",
        "",
    ]
    return lines
