#!/usr/bin/env python3
"""Measures the clicks per second Kestrin really delivers at periods of 1, 10 and 100 ms
(rates 1000, 100 and 10 per second, left single click), as the X server counts them (raw
button presses, server timestamps). It measures and reports; it asserts nothing.

    measure_rates.py --kestrin K --probe P --target T --events E [--seconds S] [--runs N]
"""

import argparse
import statistics
import sys
import time

from harness import Desktop, wait_for

TARGET = (500, 300, 300, 200)


def measure(tools, rate, seconds):
    with Desktop(tools) as desktop:
        target = desktop.start_target(*TARGET)
        events = desktop.start_event_log()
        desktop.warp(*target.centre())
        desktop.start_kestrin()
        desktop.wait_shown("Kestrin")
        time.sleep(0.3)
        desktop.type(str(rate))             # replaces the selected "10"
        desktop.keys("Tab", "Tab", "Down")  # click mode: left single click
        desktop.keys("F3")
        wait_for(lambda: target.presses(), 10, "the first click")
        time.sleep(seconds)
        desktop.keys("F4")
        time.sleep(0.5)
        presses = [e[2] for e in events.events() if e[0] == "P" and e[1] == 1]
        gaps = [b - a for a, b in zip(presses, presses[1:])]
        span = presses[-1] - presses[0]
        return {
            "clicks": len(presses),
            "per_second": (len(presses) - 1) * 1000.0 / span if span > 0 else 0.0,
            "longest_gap_ms": max(gaps) if gaps else 0,
        }


def main():
    parser = argparse.ArgumentParser()
    for tool in ("kestrin", "probe", "target", "events"):
        parser.add_argument("--" + tool, required=True)
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    tools = {t: getattr(args, t) for t in ("kestrin", "probe", "target", "events")}
    print("period  rate   clicks/s per run (server time)        median  longest gap")
    for rate in (1000, 100, 10):
        results = [measure(tools, rate, args.seconds) for _ in range(args.runs)]
        rates = [r["per_second"] for r in results]
        print(f"{1000 // rate:4d} ms {rate:5d}   {'  '.join(f'{r:7.1f}' for r in rates):34s}"
              f"{statistics.median(rates):7.1f}  {max(r['longest_gap_ms'] for r in results)} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
