#!/usr/bin/env python3
"""Clicking under Wine: with another Wine window (our click target) focused and under the
pointer, a real F3 key press starts the clicker, F4 stops it; the target counts the clicks,
the count label reads the number of ticks, and clicks = ticks x clicks per burst. The click
mode is read live at each tick: switched to the right single click, the next run clicks the
right button once per tick. While a message box is up (a rejected rate), ticks still click
and F4 reaches no handler.

The rate is checked only loosely (the timer never runs fast; a loaded machine makes ticks
late and fewer): the check is that the set rate, not some other, drives the clicks."""

import re
import time

from kestrin_ids import *
from wine_session import Failure, check, control, run_check, session, wait_until

TARGET_RECT = (450, 120, 400, 300)  # x, y, width, height: clear of the main window
POINTER = (650, 270)
RATE = 10  # the default: 10 clicks per second


def target_counts(wine):
    report = wine.inspect("dump", TARGET_CLASS, "*")
    check(report is not None, "the click target is gone")
    found = re.fullmatch(r"Click target: left (\d+) (\d+), right (\d+) (\d+)", report["title"])
    check(found is not None, f"click target title {report['title']!r}")
    left_down, left_up, right_down, right_up = map(int, found.groups())
    return {"left": (left_down, left_up), "right": (right_down, right_up)}


def count_label(wine):
    return control(wine.inspect("dump", DIALOG_CLASS, MAIN_TITLE), IDC_COUNT)["text"]


def run_clicker(wine, seconds):
    """F3, wait, F4; returns (ticks shown on the label, seconds between the key presses)."""
    wine.xtest("key", "F3")
    started = time.monotonic()
    time.sleep(seconds)
    wine.xtest("key", "F4")
    elapsed = time.monotonic() - started
    time.sleep(0.5)  # the last burst reaches the target
    label = count_label(wine)
    found = re.fullmatch(re.escape(COUNT_LABEL) + r" {9}(\d+)", label)
    check(found is not None, f"after F4 the count label reads {label!r}")
    return int(found.group(1)), elapsed


def check_rate(ticks, elapsed):
    expected = RATE * elapsed
    check(ticks >= 1, "no tick was counted")
    # Never faster than set (one tick more for the F3/F4 timing); not absurdly slower.
    check(ticks <= expected + 2, f"{ticks} ticks in {elapsed:.2f} s at {RATE}/s")
    check(ticks >= expected / 4, f"only {ticks} ticks in {elapsed:.2f} s at {RATE}/s")


def message_box_reading(wine, prefix):
    """Waits for our message box whose text starts with prefix; returns its report."""
    def look():
        report = wine.inspect("dump", MESSAGE_BOX_CLASS, "kestrin", 1000)
        if report and report["visible"] and any(
                c["text"].startswith(prefix) for c in report["controls"]):
            return report
        return None

    report = wait_until(look, 20)
    check(report is not None, f"no message box reading {prefix!r}")
    return report


def check_message_box_loop(wine):
    """Clicking goes on inside the message boxes of a rejected rate; F4 is lost there."""
    wine.xtest("key", "F3")
    time.sleep(0.5)
    wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, "abc")
    message_box_reading(wine, "请输入不超过1000的正整数")
    before = target_counts(wine)["right"][0]
    time.sleep(1.0)
    during = target_counts(wine)["right"][0]
    check(during > before, "no clicks while the message box is up")
    wine.xtest("key", "F4")
    time.sleep(1.0)
    after_f4 = target_counts(wine)["right"][0]
    check(after_f4 > during, "F4 stopped the clicker from inside a message box")

    wine.inspect("post", MESSAGE_BOX_CLASS, "kestrin", IDOK, BM_CLICK, 0)
    message_box_reading(wine, "请重新输入")
    wine.inspect("post", MESSAGE_BOX_CLASS, "kestrin", IDOK, BM_CLICK, 0)
    gone = wait_until(lambda: wine.inspect("dump", MESSAGE_BOX_CLASS, "kestrin", 0) is None, 20)
    check(gone, "the message boxes did not go")
    report = wine.inspect("dump", DIALOG_CLASS, MAIN_TITLE)
    check(control(report, IDC_RATE)["text"] == "", "the rejected text is still in the field")

    # With a rate again, F4 stops it.
    wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, "10")
    time.sleep(0.3)
    wine.xtest("key", "F4")
    time.sleep(0.5)
    stopped = target_counts(wine)
    time.sleep(0.7)
    check(target_counts(wine) == stopped, "F4 did not stop the clicker once the rate was valid")
    return stopped["right"][0] - before


def main(args):
    with session(args) as wine:
        wine.start("kestrin.exe")
        wine.visible_window(DIALOG_CLASS, MAIN_TITLE, ready=lambda r: r["focus"] is not None)
        wine.start("kestrin_click_target.exe", *TARGET_RECT)
        wine.visible_window(TARGET_CLASS, "*")
        wine.xtest("move", *POINTER)
        wine.xtest("focus")
        focused = wait_until(lambda: wine.inspect("dump", TARGET_CLASS, "*")["foreground"], 5)
        check(focused, "the click target did not get the focus")
        check(target_counts(wine) == {"left": (0, 0), "right": (0, 0)}, "clicks before F3")

        # The default: a left double click per tick.
        ticks, elapsed = run_clicker(wine, 2.0)
        check_rate(ticks, elapsed)
        counts = target_counts(wine)
        check(counts["left"] == (2 * ticks, 2 * ticks) and counts["right"] == (0, 0),
              f"{ticks} ticks of left double clicks, but the target counted {counts}")
        time.sleep(0.5)
        check(target_counts(wine) == counts, "clicks went on after F4")
        check(wine.inspect("dump", TARGET_CLASS, "*")["foreground"],
              "the target lost the focus to the clicker")

        # The mode is taken at each tick: right single click from now on. After F4 the count
        # starts again from 1.
        wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, IDC_CLICK_MODE, CB_SETCURSEL, 3)
        ticks2, elapsed2 = run_clicker(wine, 1.5)
        check_rate(ticks2, elapsed2)
        after = target_counts(wine)
        check(after["left"] == counts["left"] and after["right"] == (ticks2, ticks2),
              f"{ticks2} ticks of right single clicks, but the target went from {counts} "
              f"to {after}")
        during_boxes = check_message_box_loop(wine)
        print(f"{ticks} ticks in {elapsed:.2f} s, then {ticks2} in {elapsed2:.2f} s; "
              f"{during_boxes} clicks around and inside the message boxes")


if __name__ == "__main__":
    run_check(main)
