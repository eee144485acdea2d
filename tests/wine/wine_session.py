"""Windows programs under Wine, each test in a Wine prefix of its own on a private Xvfb.

prepare(template) makes, once per test run, the prefix every session copies; session(args)
yields a Wine session whose programs, Wine's own included, all end with it.
"""

import contextlib
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import X, check, main, process, wait_for, xvfb  # noqa: E402,F401

WINE_DIR = os.environ.get("KESTRIN_WINE_DIR", "/usr/lib/wine")
WINE = os.path.join(WINE_DIR, "wine64")
WINESERVER = os.path.join(WINE_DIR, "wineserver")
OPTIONS = ("programs", "exe", "template", "x-input")  # what every Wine script is given

# A CJK font linked behind the dialog fonts, so Chinese renders; focus handling that works
# without a window manager. REGEDIT4: its multi-strings (hex(7)) are read as ANSI text.
FONT_LINK = ",".join(f"{b:02x}" for b in b"wqy-microhei.ttc,WenQuanYi Micro Hei\0\0")
REGISTRY = "\r\n".join(
    ["REGEDIT4", "", r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion"
     r"\FontLink\SystemLink]"] +
    [f'"{face}"=hex(7):{FONT_LINK}' for face in
     ("Tahoma", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "SimSun")] +
    ["", r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]", '"UseTakeFocus"="N"', ""])
# Debian's Wine does not load Marlett from its data folder; frames Wine draws need it.
MARLETT = "/usr/share/wine/fonts/marlett.ttf"


def wine_environment(prefix, display):
    return dict(display, WINEPREFIX=prefix, WINEDEBUG="-all", WINESERVER=WINESERVER,
                WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="C.UTF-8")


def prepare(template):
    """Initialises the prefix the sessions copy."""
    with xvfb() as display, tempfile.TemporaryDirectory() as work:
        env = wine_environment(template, display)
        subprocess.run(["rm", "-rf", template], check=True)
        quiet = dict(check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINE, "wineboot", "-i"], env=env, timeout=180, **quiet)
        with open(os.path.join(work, "prefix.reg"), "w") as reg:
            reg.write(REGISTRY)
        subprocess.run([WINE, "regedit", "/S", "Z:" + reg.name.replace("/", "\\")], env=env,
                       timeout=60, **quiet)
        subprocess.run([WINESERVER, "-w"], env=env, check=True, timeout=120)
        subprocess.run(["cp", MARLETT, os.path.join(template, "drive_c/windows/Fonts")], check=True)


class Wine:
    def __init__(self, args, env, started):
        self.args, self.env, self.started = args, env, started
        self.x = X(args.x_input, env)

    def command(self, name, args, env):
        return [WINE, os.path.join(self.args.programs, name), *map(str, args)], \
            dict(self.env, **(env or {}))

    def start(self, name, *args, env=None, stdout=subprocess.DEVNULL, lines=False):
        """Starts a Windows program; returns its (Linux) process, ended with the session. With
        lines=True its output collects line by line in .lines, as harness.process does."""
        argv, environment = self.command(name, args, env)
        output = dict(lines=True) if lines else dict(stdout=stdout)
        return self.started.enter_context(process(argv, environment, stderr=subprocess.DEVNULL,
                                                  **output))

    def run(self, name, *args, env=None, timeout=60):
        """Runs a Windows program to its end; returns (exit code, standard output)."""
        argv, environment = self.command(name, args, env)
        # Not stderr: a wineserver this starts keeps it open.
        done = subprocess.run(argv, env=environment, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode, done.stdout.decode("utf-8", "replace")

    def inspect(self, *args):
        """kestrin_inspect.exe's JSON report ({} when it has none), None when it failed."""
        code, out = self.run("kestrin_inspect.exe", *args)
        return None if code != 0 else json.loads(out) if out.strip() else {}

    def visible_window(self, cls, title, timeout=20, ready=lambda report: True):
        def look():
            report = self.inspect("dump", cls, title, 1000)
            return report if report and ready(report) else None

        return wait_for(look, timeout, f"a window {cls} {title!r}")

    def xtest(self, *args):
        self.x(*args)


@contextlib.contextmanager
def session(args, second_screen=None):
    with tempfile.TemporaryDirectory(prefix="kestrin-wine-") as work, \
            xvfb(second_screen=second_screen) as display, \
            contextlib.ExitStack() as started:
        prefix = os.path.join(work, "prefix")
        subprocess.run(["cp", "-a", args.template, prefix], check=True)
        env = wine_environment(prefix, display)
        started.callback(subprocess.run, [WINESERVER, "-k"], env=env, timeout=30)
        yield Wine(args, env, started)
