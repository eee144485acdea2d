#!/usr/bin/env python3
"""The release files: the Debian package (lintian-clean, its dependencies and files, the
installed program starting on a private Xvfb) and the Windows zip (the built exe unchanged,
the read-me with Windows line ends).

    package_test.py deb --build LINUX_BUILD_DIR
    package_test.py windows_zip --exe KESTRIN_EXE
"""

import glob
import os
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests"))
from harness import X, check, main, process, texts, xvfb  # noqa: E402

INSTALLED = ["usr/bin/kestrin", "usr/share/applications/org.example.Kestrin.desktop",
             "usr/share/doc/kestrin/copyright", "usr/share/man/man1/kestrin.1.gz"] + \
    [f"usr/share/icons/hicolor/{n}x{n}/apps/kestrin.png" for n in (16, 32, 48)]


def deb(args):
    with tempfile.TemporaryDirectory(prefix="kestrin-deb-") as work:
        subprocess.run(["cpack", "--config", os.path.join(args.build, "CPackConfig.cmake"),
                        "-B", work], check=True, stdout=subprocess.DEVNULL)
        package = glob.glob(os.path.join(work, "kestrin_*.deb"))[0]
        check(subprocess.run(["lintian", "--fail-on", "error", package]).returncode == 0,
              "lintian reports errors")  # and prints its warnings for the reader
        depends = subprocess.run(["dpkg-deb", "--field", package, "Depends"], check=True,
                                 capture_output=True, text=True).stdout
        needed = ("libqt6widgets6", "libxtst6", "fonts-wqy-microhei", "qt6-wayland")
        check(all(name in depends for name in needed), f"Depends: {depends}")
        root = os.path.join(work, "root")
        subprocess.run(["dpkg", "-x", package, root], check=True)
        missing = [path for path in INSTALLED if not os.path.exists(os.path.join(root, path))]
        check(not missing, f"missing in the package: {missing}")
        with open(os.path.join(root, INSTALLED[1]), encoding="utf-8") as entry:
            lines = entry.read().splitlines()
        check({"Name=" + texts()["product_name"], "Comment=" + texts()["file_description"],
               "Categories=Utility;"} <= set(lines), f"the desktop entry reads {lines}")
        with xvfb() as env, process([os.path.join(root, INSTALLED[0])], env):
            X(os.path.join(args.build, "tools/x_observer"), env).wait_window(
                texts()["main_title"], timeout=20)


def windows_zip(args):
    with tempfile.TemporaryDirectory(prefix="kestrin-zip-") as out:
        made = subprocess.run([os.path.join(ROOT, "scripts/make-windows-zip.sh"),
                               os.path.dirname(args.exe), out], check=True,
                              capture_output=True, text=True).stdout.strip()
        check(os.path.dirname(made) == out, f"the zip went to {made}, not {out}")
        with zipfile.ZipFile(made) as z, open(args.exe, "rb") as exe:
            names = sorted(n for n in z.namelist() if not n.endswith("/"))
            folder = names[0].split("/")[0]
            check(names == [f"{folder}/README.txt", f"{folder}/kestrin.exe"], f"zip: {names}")
            check(z.read(f"{folder}/kestrin.exe") == exe.read(), "the zip's exe is not the build's")
            readme = z.read(f"{folder}/README.txt").decode("utf-8")
    check(all(line.endswith("\r") for line in readme.split("\n")[:-1]), "read-me without CRLF")
    for needed in ("F3", "F4", texts()["hotkey_f3_failed"], "按 F3 开始", "press F3 to start"):
        check(needed in readme, f"the read-me does not mention {needed!r}")


if __name__ == "__main__":
    main({"deb": deb, "windows_zip": windows_zip}, "build", "exe")
