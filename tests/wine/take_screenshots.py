#!/usr/bin/env python3
"""Screenshots of Kestrin's two dialogs under Wine, for the documentation.

    take_screenshots.py --programs <build dir> --exe <kestrin.exe> --template <prefix> <docs dir>

Writes main-window-wine.png and about-box-wine.png. Wine draws the window frames itself here
(no window manager runs in the Xvfb), so the captions show.
"""

import os
import subprocess
import sys
import time

from kestrin_ids import *
from wine_session import WINE, run_check, session

DOCS = sys.argv.pop() if len(sys.argv) > 1 and not sys.argv[-1].startswith("-") else "docs"


def main(args):
    with session(args) as wine:
        subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                        "/t", "REG_SZ", "/d", "N", "/f"], env=wine.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wine.start("kestrin.exe")
        main_window = wine.visible_window(DIALOG_CLASS, MAIN_TITLE,
                                          ready=lambda r: r["focus"] is not None)
        time.sleep(1.0)  # the caret and the frame settle
        wine.screenshot(os.path.join(DOCS, "main-window-wine.png"), main_window["rect"])

        wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, 0, WM_SYSCOMMAND, IDM_ABOUTBOX)
        about = wine.visible_window(DIALOG_CLASS, ABOUT_TITLE)
        time.sleep(1.0)
        wine.screenshot(os.path.join(DOCS, "about-box-wine.png"), about["rect"])
    print(f"wrote {DOCS}/main-window-wine.png and {DOCS}/about-box-wine.png")


if __name__ == "__main__":
    run_check(main)
