#!/usr/bin/env python3
"""Pictures of the main window and the About box for the documentation, taken on a private
Xvfb with ImageMagick's `import`: the Linux program, and the Windows one under Wine.

    screenshots.py linux --kestrin PROGRAM --observer X_OBSERVER --out DIR
    screenshots.py wine --exe KESTRIN_EXE --observer X_OBSERVER --out DIR

write DIR/main-window.png and DIR/about-box.png, or DIR/main-window-wine.png and
DIR/about-box-wine.png.
"""

import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path[:0] = [os.path.join(ROOT, "tests"), os.path.join(ROOT, "tests", "wine")]
from harness import X, main, process, texts, xvfb  # noqa: E402
from wine_session import WINE, prepare, session  # noqa: E402

WM_SYSCOMMAND = 0x0112
IDM_ABOUTBOX = 0x0010


def grab(x, title, path):
    window = x.wait_window(title)
    x("move", 1000, 700)  # the pointer out of the picture
    time.sleep(1.0)  # the caret and the frame settle
    subprocess.run(["import", "-window", str(window.id), path], env=x.env, check=True)
    print("saved", path)


def linux(args):
    with xvfb() as env, process([args.kestrin], env):
        x = X(args.observer, env)
        grab(x, texts()["main_title"], os.path.join(args.out, "main-window.png"))
        x.keys("Alt_L+space")  # the system menu
        time.sleep(0.5)
        x.keys("a")
        grab(x, texts()["about_title"], os.path.join(args.out, "about-box.png"))


def wine(args):
    with tempfile.TemporaryDirectory() as work:
        args.template, args.programs, args.x_input = work + "/prefix", os.path.dirname(
            args.exe), args.observer
        prepare(args.template)
        with session(args) as wine:
            # Unmanaged windows: Wine draws their frames and captions (no window manager).
            subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v",
                            "Managed", "/d", "N", "/f"], env=wine.env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wine.start("kestrin.exe")
            grab(wine.x, texts()["main_title"], os.path.join(args.out, "main-window-wine.png"))
            wine.inspect("post", "KestrinDialog", texts()["main_title"], 0, WM_SYSCOMMAND,
                         IDM_ABOUTBOX)
            grab(wine.x, texts()["about_title"], os.path.join(args.out, "about-box-wine.png"))


if __name__ == "__main__":
    main({"linux": linux, "wine": wine}, "kestrin", "exe", "observer", "out")
