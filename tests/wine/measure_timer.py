#!/usr/bin/env python3
"""Measures (asserts nothing) the click timer's ticks per second under Wine at 1, 10 and
100 ms periods, with the high-resolution timer and with plain SetTimer (KESTRIN_PLAIN_TIMER=1):

  timer alone   kestrin_timer_rate.exe runs the program's timer code and counts the ticks
  end to end    kestrin.exe clicks (left double click) on the click target at 1000, 100 and
                10 clicks per second; ticks = the target's left-button presses / 2, counted
                once the clicks still queued in Wine have landed

    measure_timer.py --programs <dir> --exe <kestrin.exe> --template <prefix> --x-input <tool>
                     [--seconds N]
"""

import json
import re
import sys
import time

from kestrin_ids import *
from wine_session import check, run_check, session

SECONDS = 3.0
if "--seconds" in sys.argv:
    at = sys.argv.index("--seconds")
    SECONDS = float(sys.argv[at + 1])
    del sys.argv[at:at + 2]

PERIODS = [1, 10, 100]
MODES = [("high-resolution", "0"), ("SetTimer", "1")]


def left_presses(wine):
    title = wine.inspect("dump", TARGET_CLASS, "*")["title"]
    return int(re.match(r"Click target: left (\d+)", title).group(1))


def settled_presses(wine):
    """The target's left presses once the clicks still in Wine's input queue have landed."""
    deadline = time.monotonic() + 60
    last = left_presses(wine)
    while time.monotonic() < deadline:
        time.sleep(1.0)
        now = left_presses(wine)
        if now == last:
            return now
        last = now
    return last


def end_to_end(wine, plain, period):
    wine.start("kestrin.exe", env={"KESTRIN_PLAIN_TIMER": plain})
    wine.visible_window(DIALOG_CLASS, MAIN_TITLE)
    check(wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, str(1000 // period))
          is not None, "the rate could not be set")
    wine.xtest("move", 650, 270)
    wine.xtest("focus")
    before = settled_presses(wine)
    wine.xtest("key", "F3")
    started = time.monotonic()
    time.sleep(SECONDS)
    wine.xtest("key", "F4")
    elapsed = time.monotonic() - started
    ticks = (settled_presses(wine) - before) / 2
    wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, 0, WM_CLOSE, 0)
    time.sleep(1.0)
    return ticks / elapsed


def main(args):
    rows = []
    with session(args) as wine:
        for mode, plain in MODES:
            for period in PERIODS:
                code, out = wine.run("kestrin_timer_rate.exe", period, SECONDS,
                                     env={"KESTRIN_PLAIN_TIMER": plain})
                report = json.loads(out)
                rows.append((mode, period, report["ticksPerSecond"],
                             report["longestIntervalMs"]))

        wine.start("kestrin_click_target.exe", 450, 120, 400, 300)
        wine.visible_window(TARGET_CLASS, "*")
        clicks = {}
        for mode, plain in MODES:
            for period in PERIODS:
                clicks[(mode, period)] = end_to_end(wine, plain, period)

    print(f"{'timer':16} {'period':>6} {'alone ticks/s':>14} {'longest gap':>12} "
          f"{'end-to-end ticks/s':>19}")
    for mode, period, rate, longest in rows:
        print(f"{mode:16} {period:4} ms {rate:14.1f} {longest:9.1f} ms "
              f"{clicks[(mode, period)]:19.1f}")


if __name__ == "__main__":
    run_check(main)
