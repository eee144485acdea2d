"""Runs Windows programs under Wine inside an Xvfb of their own, for the Wine tests.

A test builds a WineSession from a template prefix (prepared once per test run by
prepare_prefix.py), starts programs in it and looks at them with kestrin_inspect.exe.
Everything it starts is stopped when the session ends.
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xvfb import Xvfb  # noqa: E402,F401  (prepare_prefix.py takes it from here too)

WINE_DIR = os.environ.get("KESTRIN_WINE_DIR", "/usr/lib/wine")
WINE = os.path.join(WINE_DIR, "wine64")
WINESERVER = os.path.join(WINE_DIR, "wineserver")


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wine_environment(prefix, display):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "WINESERVER": WINESERVER,
        "DISPLAY": display,
        "LC_ALL": "C.UTF-8",
    })
    env.pop("WAYLAND_DISPLAY", None)
    return env


class WineSession:
    def __init__(self, programs_dir, template, xtest=None):
        self.programs_dir = os.path.abspath(programs_dir)
        self.template = template
        self.xtest_tool = xtest
        self.started = []

    def __enter__(self):
        self.workdir = tempfile.mkdtemp(prefix="kestrin-wine-")
        self.prefix = os.path.join(self.workdir, "prefix")
        subprocess.run(["cp", "-a", self.template, self.prefix], check=True)
        self.xvfb = Xvfb()
        self.env = wine_environment(self.prefix, self.xvfb.display)
        return self

    def __exit__(self, *exc):
        for process in self.started:
            if process.poll() is None:
                process.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        for process in self.started:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        self.xvfb.stop()
        shutil.rmtree(self.workdir, ignore_errors=True)
        return False

    def program(self, name):
        return os.path.join(self.programs_dir, name)

    def start(self, name, *args, env=None):
        """Starts a Windows program; returns its (Linux) process."""
        environment = dict(self.env)
        environment.update(env or {})
        process = subprocess.Popen([WINE, self.program(name), *map(str, args)], env=environment,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.started.append(process)
        return process

    def run(self, name, *args, timeout=60, env=None):
        """Runs a Windows program to its end; returns (exit code, standard output)."""
        environment = dict(self.env)
        environment.update(env or {})
        done = subprocess.run([WINE, self.program(name), *map(str, args)], env=environment,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode, done.stdout.decode("utf-8", "replace")

    def inspect(self, *args, timeout=60):
        """Runs kestrin_inspect.exe; returns its JSON report, or None when it found nothing."""
        code, out = self.run("kestrin_inspect.exe", *args, timeout=timeout)
        if code != 0:
            return None
        return json.loads(out) if out.strip() else {}

    def wait_for_window(self, cls, title, timeout_ms=15000):
        report = self.inspect("dump", cls, title, timeout_ms)
        check(report is not None, f"no window of class {cls!r}, title {title!r} appeared")
        return report

    def visible_window(self, cls, title, timeout=20, ready=lambda report: True):
        """Waits until such a window is visible and ready(report) holds; returns its report."""
        def look():
            report = self.inspect("dump", cls, title, 1000)
            return report if report and report["visible"] and ready(report) else None

        report = wait_until(look, timeout)
        check(report is not None, f"no visible window of class {cls!r}, title {title!r}")
        return report

    def xtest(self, *args):
        """Runs the X input tool (key presses, pointer moves) on this session's display."""
        check(self.xtest_tool is not None, "no X input tool given")
        subprocess.run([self.xtest_tool, *map(str, args)], env=self.env, check=True, timeout=30)

    def screenshot(self, path, rect=None):
        command = ["import", "-window", "root"]
        if rect is not None:
            left, top, right, bottom = rect
            command += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage"]
        subprocess.run(command + [path], env=self.env, check=True, timeout=60)


def wait_until(predicate, timeout, interval=0.2):
    """Polls until predicate() returns a true value; returns it, or None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def control(report, control_id):
    """The control with this identifier in a window report."""
    found = [c for c in report["controls"] if c["id"] == control_id]
    check(len(found) == 1, f"window {report['title']!r} has {len(found)} controls {control_id}")
    return found[0]


def run_check(check):
    """Entry point of a check script: parses the arguments CTest passes, runs
    check(args), reports, and exits with 0 when it passed."""
    import argparse
    import sys
    import traceback

    parser = argparse.ArgumentParser()
    parser.add_argument("--programs", required=True, help="folder of kestrin.exe and helpers")
    parser.add_argument("--exe", required=True, help="kestrin.exe")
    parser.add_argument("--template", required=True, help="prepared Wine prefix to copy")
    parser.add_argument("--x-input", help="the X input tool")
    args = parser.parse_args()
    started = time.monotonic()
    try:
        check(args)
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    except Exception:  # a broken harness is a failure too, with its trace
        traceback.print_exc()
        sys.exit(1)
    print(f"passed in {time.monotonic() - started:.1f} s")


def session(args):
    return WineSession(args.programs, args.template, args.x_input)
