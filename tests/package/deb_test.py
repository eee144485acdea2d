#!/usr/bin/env python3
"""Makes the Debian package, checks it with lintian, unpacks it into a throwaway root and
starts the installed program on a private Xvfb until its window shows.

    deb_test.py LINUX_BUILD_DIR
"""

import glob
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xvfb import Xvfb  # noqa: E402

INSTALLED = [
    "usr/bin/kestrin",
    "usr/share/applications/org.example.Kestrin.desktop",
    "usr/share/icons/hicolor/16x16/apps/kestrin.png",
    "usr/share/icons/hicolor/32x32/apps/kestrin.png",
    "usr/share/icons/hicolor/48x48/apps/kestrin.png",
    "usr/share/doc/kestrin/copyright",
    "usr/share/man/man1/kestrin.1.gz",
]


def fail(message):
    print(message)
    sys.exit(1)


def main():
    build = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="kestrin-deb-") as work:
        subprocess.run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"),
                        "-B", os.path.join(work, "out")], check=True, stdout=subprocess.DEVNULL)
        deb = glob.glob(os.path.join(work, "out", "kestrin_*.deb"))[0]
        print("package:", os.path.basename(deb))

        # Errors fail the test; lintian's warnings are printed for the reader.
        lint = subprocess.run(["lintian", "--fail-on", "error", deb])
        if lint.returncode != 0:
            fail("lintian reports errors")

        depends = subprocess.run(["dpkg-deb", "--field", deb, "Depends"], check=True,
                                 capture_output=True, text=True).stdout
        for needed in ("libqt6widgets6", "libxtst6", "fonts-wqy-microhei", "qt6-wayland"):
            if needed not in depends:
                fail(f"Depends lacks {needed}: {depends}")

        root = os.path.join(work, "root")
        subprocess.run(["dpkg", "-x", deb, root], check=True)
        for path in INSTALLED:
            if not os.path.exists(os.path.join(root, path)):
                fail(f"missing in the package: {path}")
        with open(os.path.join(root, INSTALLED[1]), encoding="utf-8") as f:
            entry = f.read().splitlines()
        for line in ("Name=Kestrin", "Comment=Kestrin，解放你的双手", "Categories=Utility;"):
            if line not in entry:
                fail(f"the desktop entry lacks {line!r}")

        with Xvfb() as x:
            env = dict(os.environ, DISPLAY=x.display, XDG_RUNTIME_DIR=work)
            app = subprocess.Popen([os.path.join(root, "usr/bin/kestrin")], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            try:
                deadline = time.monotonic() + 20
                while time.monotonic() < deadline:
                    tree = subprocess.run(["xwininfo", "-root", "-tree"], env=env,
                                          capture_output=True, text=True).stdout
                    if '"Kestrin"' in tree:
                        print("the installed program opened its window")
                        return
                    if app.poll() is not None:
                        fail(f"the installed program exited: {app.stderr.read()}")
                    time.sleep(0.1)
                fail("no window titled Kestrin within 20 s")
            finally:
                app.kill()
                app.wait()


if __name__ == "__main__":
    main()
