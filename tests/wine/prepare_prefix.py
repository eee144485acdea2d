#!/usr/bin/env python3
"""Prepares the Wine prefix the Wine tests copy: initialised, with a CJK font linked so
Chinese renders, Wine's Marlett font in the prefix (Debian's Wine does not load it from its
data folder, and window frames drawn by Wine need it for their buttons), and focus handling
that works without a window manager.

    prepare_prefix.py <prefix directory>
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from wine_session import WINE, WINESERVER, Xvfb, wine_environment

# REGEDIT4: the multi-strings (hex(7)) are read as ANSI text. WenQuanYi Micro Hei backs the
# dialog fonts for the characters they lack.
FONT = b"wqy-microhei.ttc,WenQuanYi Micro Hei"
LINKED_FACES = ["Tahoma", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "SimSun"]


def registry_file():
    multi = ",".join(f"{b:02x}" for b in FONT + b"\0\0")
    lines = ["REGEDIT4", "",
             r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink"
             r"\SystemLink]"]
    lines += [f'"{face}"=hex(7):{multi}' for face in LINKED_FACES]
    lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]", '"UseTakeFocus"="N"', ""]
    return "\r\n".join(lines)


MARLETT = "/usr/share/wine/fonts/marlett.ttf"


def main():
    prefix = os.path.abspath(sys.argv[1])
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(os.path.dirname(prefix), exist_ok=True)
    started = time.monotonic()
    xvfb = Xvfb()
    env = wine_environment(prefix, xvfb.display)
    try:
        subprocess.run([WINE, "wineboot", "-i"], env=env, check=True, timeout=180,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False) as reg:
            reg.write(registry_file())
        try:
            windows_path = "Z:" + reg.name.replace("/", "\\")
            subprocess.run([WINE, "regedit", "/S", windows_path], env=env, check=True,
                           timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        finally:
            os.unlink(reg.name)
        subprocess.run([WINESERVER, "-w"], env=env, check=True, timeout=120)
        if os.path.exists(MARLETT):
            shutil.copy(MARLETT, os.path.join(prefix, "drive_c", "windows", "Fonts"))
    finally:
        xvfb.stop()
    print(f"prepared {prefix} in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    main()
