#!/usr/bin/env python3
"""The Windows program: what only its build and the Win32 backend can get wrong, the latter
under Wine, watched from outside with our click target and inspector.

    kestrin_wine.py SCENARIO --programs DIR --exe KESTRIN_EXE --template PREFIX --x-input X
"""

import ctypes
import os
import re
import signal
import subprocess
import time

from kestrin_ids import BM_CLICK, DIALOG_CLASS, IDC_RATE, IDOK, MAIN_TITLE, MESSAGE_BOX_CLASS, \
    TARGET_CLASS, WM_CLOSE
from wine_session import OPTIONS, check, main, prepare, session, wait_for
from harness import button_events, check_rate, settles, texts, ticks

# DLLs every Windows system has; anything else (a C++ runtime, winpthread) would have to ship.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
               "ole32.dll", "advapi32.dll", "msvcrt.dll", "version.dll", "winmm.dll"}


def exe(args):
    """One small GUI executable importing only system DLLs, with its version record."""
    size = os.path.getsize(args.exe)
    check(size < 1 << 20, f"kestrin.exe is {size} bytes, not under 1 MB")
    headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", args.exe], check=True,
                             capture_output=True, text=True).stdout
    check("(Windows GUI)" in headers, "kestrin.exe is not a GUI program")
    dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
    check({"kernel32.dll", "user32.dll"} <= dlls <= SYSTEM_DLLS, f"kestrin.exe imports {dlls}")
    record = subprocess.run(["x86_64-w64-mingw32-windres", "-i", args.exe, "-O", "rc"],
                            check=True, capture_output=True, text=True).stdout
    values = {name: re.sub(r"\\x([0-9a-f]{4})", lambda m: chr(int(m[1], 16)), value)
              for name, value in re.findall(r'VALUE "(\w+)", L?"(.*)"', record)}
    expected = {"FileVersion": "1.0.0.1", "ProductVersion": "1.0.0.1",
                "ProductName": texts()["product_name"],
                "FileDescription": texts()["file_description"]}
    fixed = re.findall(r"^ *((?:FILE|PRODUCT)VERSION .*|BLOCK \"\w+\")", record, re.M)
    check(all(values.get(k) == v for k, v in expected.items()) and fixed == [
        "FILEVERSION 1, 0, 0, 1", "PRODUCTVERSION 1, 0, 0, 1", 'BLOCK "StringFileInfo"',
        'BLOCK "080404b0"', 'BLOCK "VarFileInfo"'], f"the version record: {fixed}, {values}")


def counts(wine, name="Click target"):
    """A click target's left presses and releases, right presses and releases, from its
    title, which Wine gives its X window too: reading it there runs no Windows program."""
    titles = [w.title for w in wine.x.windows() if w.title.startswith(name + ":")]
    check(len(titles) == 1, f"click targets: {titles}")
    return [int(n) for n in re.findall(r"\d+", titles[0])]


def box(wine, text):
    return wine.visible_window(MESSAGE_BOX_CLASS, "kestrin", ready=lambda report: any(
        c["text"] == texts()[text] for c in report["controls"]))


def target_ticks(target, start, what):
    """The ticks, each a left double click, whose events the target wrote from line `start`.
    The target writes as it is scheduled, so line `start` may fall inside a burst: the rest
    of that burst belongs to the tick before."""
    burst = [("P", 1), ("R", 1)] * 2
    events = button_events(target.lines)
    seen = len(button_events(target.lines[:start]))
    return ticks(events[seen + (-seen % len(burst)):], burst, what)


def clicking(args):
    with session(args) as wine:
        first = wine.start("kestrin.exe")
        wine.visible_window(DIALOG_CLASS, MAIN_TITLE)
        target = wine.start("kestrin_click_target.exe", lines=True)
        wine.visible_window(TARGET_CLASS, "*")
        wine.xtest("move", 650, 270)
        wine.xtest("focus")  # hot keys reach Wine while a Wine window has the X focus
        wait_for(lambda: wine.inspect("dump", TARGET_CLASS, "*")["foreground"], 10, "focus")

        # The defaults on our target, at the period; F4 stops it dead.
        wine.xtest("key", "F3")
        time.sleep(2.0)
        wine.xtest("key", "F4")
        check(settles(lambda: counts(wine)), "clicks went on after F4")
        check_rate(target_ticks(target, 0, "the defaults"), 10, 1000, "the defaults")
        check(counts(wine)[2] == 0, f"right clicks: {counts(wine)}")

        # A rejected rate's message box runs its own loop: ticks go on there, F4 is lost there.
        wine.xtest("key", "F3")
        wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, "x")
        box(wine, "bad_rate")
        before = len(target.lines)
        wine.xtest("key", "F4")
        time.sleep(1.5)
        check_rate(target_ticks(target, before, "under the box"), 10, 1000,
                   "under the message box, after F4")
        wine.inspect("post", MESSAGE_BOX_CLASS, "kestrin", IDOK, BM_CLICK, 0)
        box(wine, "reenter")
        wine.inspect("post", MESSAGE_BOX_CLASS, "kestrin", IDOK, BM_CLICK, 0)
        wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, "1000")

        # A second copy cannot have the hot keys and says so; the first keeps them.
        wine.start("kestrin.exe")
        box(wine, "hotkey_f3_failed")
        wine.xtest("key", "F4")
        check(settles(lambda: counts(wine)), "F4 no longer stops the first copy")
        stopped, start = counts(wine), len(target.lines)

        # At 500 per second, stopped for a second (SIGSTOP), it clicks on (SIGCONT) making up a
        # few milliseconds of it: not in a flood, nor spread over the next seconds. Wine stamps
        # each click as it is sent: between the first stamp and the last, most of the second's
        # periods have no tick. (At 1000 per second Wine cannot click faster than asked.)
        wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, "500")
        wine.xtest("key", "F3")
        wait_for(lambda: counts(wine)[0] > stopped[0] + 400, 10, "the first copy to click")
        os.kill(first.pid, signal.SIGSTOP)
        time.sleep(1)
        os.kill(first.pid, signal.SIGCONT)
        resumed = counts(wine)[0]
        wait_for(lambda: counts(wine)[0] > resumed + 5000, 20, "2500 ticks after the stop")
        times = target_ticks(target, start, "around the stop")
        check(len(times) <= (times[-1] - times[0]) / 2 - 125,
              f"{len(times)} ticks in {times[-1] - times[0]} ms with a second's stop")
        wine.inspect("set-text", DIALOG_CLASS, MAIN_TITLE, IDC_RATE, "1000")
        wine.xtest("key", "F3")

        # Closed while clicking at 1000 per second: it ends, every click whole.
        wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, 0, WM_CLOSE, 0)
        wait_for(lambda: first.poll() is not None, 20, "kestrin.exe to end")
        settles(lambda: counts(wine))  # the clicks on their way land
        final = counts(wine)
        check(first.returncode == 0 and final[0] == final[1] and final[2] == final[3],
              f"exit code {first.returncode}; clicks (down, up) left, right: {final}")


def pointer_to_second_screen(display):
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XRootWindow.restype = ctypes.c_ulong
    x11.XRootWindow.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong] + \
        [ctypes.c_int] * 2 + [ctypes.c_uint] * 2 + [ctypes.c_int] * 2
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    check(connection, f"cannot open {display}")
    x11.XWarpPointer(connection, 0, x11.XRootWindow(connection, 1), 0, 0, 0, 0, 100, 100)
    x11.XCloseDisplay(connection)  # flushes the warp


def unreadable_pointer(args):
    """Wine cannot read the pointer while it is on a second X screen: the ticks go on, clicking
    where Wine last saw it, and none goes to the screen's corner, where a tick that placed the
    pointer at what the failed read left would send them."""
    with session(args, second_screen="640x480x24") as wine:
        wine.start("kestrin.exe")
        wine.visible_window(DIALOG_CLASS, MAIN_TITLE)
        wine.start("kestrin_click_target.exe", -50, -60, 250, 200, "Corner")
        wine.start("kestrin_click_target.exe")
        wait_for(lambda: len([w for w in wine.x.windows() if ": left" in w.title]) == 2, 20,
                 "the click targets")
        wine.xtest("move", 650, 270)
        wine.xtest("focus")
        time.sleep(0.5)
        wine.xtest("key", "F3")
        wait_for(lambda: counts(wine)[0] > 0, 10, "F3 to start the clicker")
        pointer_to_second_screen(wine.env["DISPLAY"])
        time.sleep(0.5)
        before = counts(wine)[0]
        time.sleep(1.5)
        check(counts(wine)[0] >= before + 10, "the clicks stopped with the pointer out of reach")
        check(counts(wine, "Corner") == [0, 0, 0, 0],
              f"clicks went to the screen's corner: {counts(wine, 'Corner')}")


if __name__ == "__main__":
    main({"prefix": lambda args: prepare(args.template), "exe": exe, "clicking": clicking,
          "unreadable_pointer": unreadable_pointer}, *OPTIONS)
