#!/usr/bin/env python3
"""The Windows release zip holds the built kestrin.exe unchanged and the two-language read-me.

    windows_zip_test.py KESTRIN_EXE
"""

import os
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def fail(message):
    print(message)
    sys.exit(1)


def main():
    exe = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="kestrin-zip-") as out:
        made = subprocess.run([os.path.join(ROOT, "scripts", "make-windows-zip.sh"),
                               os.path.dirname(exe), out], check=True, capture_output=True,
                              text=True).stdout.strip()
        if os.path.dirname(made) != out:
            fail(f"the zip went to {made}, not {out}")
        with zipfile.ZipFile(made) as z:
            names = sorted(n for n in z.namelist() if not n.endswith("/"))
            folder = names[0].split("/")[0]
            if names != [f"{folder}/README.txt", f"{folder}/kestrin.exe"]:
                fail(f"unexpected contents: {names}")
            with open(exe, "rb") as f:
                if z.read(f"{folder}/kestrin.exe") != f.read():
                    fail("the zip's kestrin.exe differs from the build's")
            readme = z.read(f"{folder}/README.txt").decode("utf-8")
    for line in readme.split("\n")[:-1]:
        if not line.endswith("\r"):
            fail(f"read-me line without CRLF: {line!r}")
    for needed in ("F3", "F4", "注册热键F3失败！", "按 F3 开始", "press F3 to start"):
        if needed not in readme:
            fail(f"the read-me does not mention {needed!r}")
    print(f"{os.path.basename(made)}: {names}")


if __name__ == "__main__":
    main()
