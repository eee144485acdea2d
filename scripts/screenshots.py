#!/usr/bin/env python3
"""Saves pictures of the main window and of the About box, taken on a private Xvfb:
    take_screenshots.py --kestrin K --probe P --out DIR
writes DIR/main-window.png and DIR/about-box.png (ImageMagick's `import` grabs the windows).
"""

import argparse
import os
import subprocess
import sys
import time

from harness import Desktop, wait_for


def grab(desktop, window, path):
    subprocess.run(["import", "-window", str(window.id), path], env=desktop.env, check=True,
                   timeout=30)
    print(f"saved {path} ({window.width}x{window.height})")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kestrin", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    with Desktop({"kestrin": args.kestrin, "probe": args.probe}) as desktop:
        kestrin = desktop.start_kestrin()
        main_window = desktop.wait_shown("Kestrin")
        desktop.warp(1000, 700)  # keep the pointer out of the pictures
        time.sleep(1.0)
        grab(desktop, main_window, os.path.join(args.out, "main-window.png"))

        desktop.keys("alt+space")
        wait_for(desktop.popups, 10, "the system menu")
        desktop.keys("a")
        about = desktop.wait_shown("About Kestrin")
        time.sleep(1.0)
        grab(desktop, about, os.path.join(args.out, "about-box.png"))
        desktop.keys("Escape")
        desktop.wait_gone(about)
        desktop.keys("Escape")
        kestrin.wait(timeout=10)
    return 0


if __name__ == "__main__":
    sys.exit(main())
