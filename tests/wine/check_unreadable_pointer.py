#!/usr/bin/env python3
"""A pointer Wine cannot read is not moved: on an X server with two screens, Wine's
GetCursorPos fails while the pointer is on the screen Wine does not show. Clicking at 10 per
second, the pointer is taken there: the ticks go on, the clicks still go where Wine last saw
the pointer (the click target), and none goes to the screen's corner (where a second target
waits) as a tick that placed the pointer at what the failed read left would send them."""

import ctypes
import os
import re
import subprocess
import time

import wine_session
from kestrin_ids import *
from wine_session import check, control, run_check, session, wait_until

TARGET_RECT = (450, 120, 400, 300)
CORNER_RECT = (-50, -60, 250, 200)  # the screen's corner, (0, 0), inside its client area
POINTER = (650, 270)


class TwoScreenXvfb(wine_session.Xvfb):
    """The test's X server, with a second screen beside Wine's."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-screen", "1",
             "640x480x24", "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            self.display = ":" + numbers.readline().strip()


def pointer_to_second_screen(display):
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XRootWindow.restype = ctypes.c_ulong
    x11.XRootWindow.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong] + \
        [ctypes.c_int] * 2 + [ctypes.c_uint] * 2 + [ctypes.c_int] * 2
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    check(connection, f"cannot open {display}")
    x11.XWarpPointer(connection, 0, x11.XRootWindow(connection, 1), 0, 0, 0, 0, 100, 100)
    x11.XSync(connection, 0)
    x11.XCloseDisplay(connection)


def left_presses(wine):
    """The left presses of each click target, by its left edge."""
    targets = wine.inspect("dump-all", TARGET_CLASS, "*") or []
    return {t["rect"][0]: int(re.match(r"Click target: left (\d+)", t["title"]).group(1))
            for t in targets}


def count(wine):
    label = control(wine.inspect("dump", DIALOG_CLASS, MAIN_TITLE), IDC_COUNT)["text"]
    return int(label[len(COUNT_LABEL):])


def main(args):
    wine_session.Xvfb = TwoScreenXvfb
    with session(args) as wine:
        wine.start("kestrin.exe")
        wine.visible_window(DIALOG_CLASS, MAIN_TITLE, ready=lambda r: r["focus"] is not None)
        for rect in (CORNER_RECT, TARGET_RECT):
            wine.start("kestrin_click_target.exe", *rect)
        check(wait_until(lambda: len(left_presses(wine)) == 2, 20), "the click targets")
        wine.xtest("move", *POINTER)
        wine.xtest("focus")
        time.sleep(0.5)
        wine.xtest("key", "F3")
        check(wait_until(lambda: count(wine) > 0, 10), "F3 did not start the clicker")
        pointer_to_second_screen(wine.env["DISPLAY"])
        time.sleep(0.5)
        ticks, before = count(wine), left_presses(wine)
        time.sleep(1.5)
        after = left_presses(wine)
        check(count(wine) >= ticks + 5, "the ticks stopped with the pointer out of reach")
        check(after[CORNER_RECT[0]] == before[CORNER_RECT[0]] == 0,
              f"clicks went to the screen's corner: {after}")
        check(after[TARGET_RECT[0]] > before[TARGET_RECT[0]],
              f"the clicks did not go where Wine last saw the pointer: {after}")
        wine.xtest("key", "F4")


if __name__ == "__main__":
    run_check(main)
