"""The end-to-end tests' harness: a private Xvfb, the real Kestrin, and observers of ours.

Everything here watches the program from outside, as another X client would: window lists
and properties (x_probe), clicks received by a window under the pointer (click_target), and
raw button and key events as the server saw them (x_event_log, XInput2 on the root).
"""

import os
import shutil
import signal
import subprocess
import tempfile
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xvfb import Xvfb, XvfbError  # noqa: E402


class TestFailure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def wait_for(predicate, timeout, what, interval=0.05):
    """Polls until predicate() gives a true value, which it returns; fails after timeout s."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TestFailure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class LineReader:
    """Runs a program and collects its stdout lines in the background."""

    def __init__(self, argv, env):
        self.lines = []
        self._lock = threading.Lock()
        self.process = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        for line in self.process.stdout:
            with self._lock:
                self.lines.append(line.rstrip("\n"))

    def snapshot(self):
        with self._lock:
            return list(self.lines)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._thread.join(timeout=5)


class Window:
    def __init__(self, line):
        head, _, text = line.partition("\t")
        fields = head.split(" ", 7)
        self.id = int(fields[0])
        self.viewable = fields[1] == "1"
        self.x, self.y, self.width, self.height = (int(f) for f in fields[2:6])
        self.override_redirect = fields[6] == "1"
        self.title = fields[7] if len(fields) > 7 else ""
        self.text = text.replace("\\n", "\n").replace("\\t", "\t")

    def __repr__(self):
        return (f"<window {self.id} {'shown' if self.viewable else 'hidden'} "
                f"{self.width}x{self.height}+{self.x}+{self.y} {self.title!r} {self.text!r}>")


class Desktop:
    """A private X server on a free display, with tools to look at it and drive it."""

    def __init__(self, tools):
        self.tools = tools
        self.home = tempfile.mkdtemp(prefix="kestrin-e2e-")
        self._children = []
        try:
            self.xvfb = Xvfb()
        except XvfbError as error:
            raise TestFailure(str(error)) from error
        self.server = self.xvfb.process
        self.display = self.xvfb.display
        runtime = os.path.join(self.home, "runtime")
        os.mkdir(runtime, 0o700)
        self.opener_log = os.path.join(self.home, "opened.txt")
        bin_dir = os.path.join(self.home, "bin")
        os.mkdir(bin_dir)
        # A stand-in for the desktop's default handler: it records what it is asked to open.
        opener = os.path.join(bin_dir, "xdg-open")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> " + _quote(self.opener_log) + "\n")
        os.chmod(opener, 0o755)
        self.env = dict(os.environ, DISPLAY=self.display, XDG_RUNTIME_DIR=runtime,
                        HOME=self.home, PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""))
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)

    # --- Looking -------------------------------------------------------------------------
    def probe(self, *args):
        result = subprocess.run([self.tools["probe"], *map(str, args)], env=self.env,
                                capture_output=True, text=True, timeout=20)
        check(result.returncode == 0, f"x_probe {args} failed: {result.stderr.strip()}")
        return result.stdout

    def windows(self):
        return [Window(line) for line in self.probe("windows").splitlines() if line]

    def shown(self, title=None, text=None):
        return [w for w in self.windows() if w.viewable and not w.override_redirect
                and (title is None or w.title == title) and (text is None or w.text == text)]

    def wait_shown(self, title, text=None, timeout=15):
        found = wait_for(lambda: self.shown(title, text), timeout,
                         f"a window {title!r}" + (f" saying {text!r}" if text else ""))
        return found[0]

    def wait_gone(self, window, timeout=15):
        wait_for(lambda: all(w.id != window.id or not w.viewable for w in self.windows()),
                 timeout, f"{window} to close")

    def popups(self):
        return [w for w in self.windows() if w.viewable and w.override_redirect
                and w.title != "click target"]

    def buttons_held(self):
        return self.probe("buttons").strip()

    # --- Driving -------------------------------------------------------------------------
    def keys(self, *keys):
        self.probe("keys", *keys)

    def type(self, text):
        self.probe("type", text)

    def warp(self, x, y):
        self.probe("warp", x, y)

    def click(self, button, modifier=None):
        self.probe("click", button, *([modifier] if modifier else []))

    def opened(self):
        if not os.path.exists(self.opener_log):
            return []
        with open(self.opener_log) as f:
            return f.read().splitlines()

    # --- Programs ------------------------------------------------------------------------
    def start_kestrin(self):
        process = subprocess.Popen([self.tools["kestrin"]], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self._children.append(process)
        return process

    def start_target(self, x, y, width, height):
        target = ClickTarget(self.tools["target"], (x, y, width, height), self.env)
        self._children.append(target)
        return target

    def start_event_log(self):
        log = EventLog(self.tools["events"], self.env)
        self._children.append(log)
        return log

    def close(self):
        for child in reversed(self._children):
            if isinstance(child, subprocess.Popen):
                if child.poll() is None:
                    child.kill()
                child.wait()
            else:
                child.stop()
        self.xvfb.stop()
        shutil.rmtree(self.home, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class ClickTarget(LineReader):
    """A window that counts the button events it receives."""

    def __init__(self, program, geometry, env):
        super().__init__([program, *map(str, geometry)], env)
        self.x, self.y, self.width, self.height = geometry
        wait_for(lambda: any(l.startswith("ready") for l in self.snapshot()), 15,
                 "the click target to map")

    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def events(self):
        """(kind 'P' or 'R', button, server ms) for every button event so far."""
        out = []
        for line in self.snapshot():
            parts = line.split()
            if len(parts) == 3 and parts[0] in ("P", "R"):
                out.append((parts[0], int(parts[1]), int(parts[2])))
        return out

    def presses(self, button=None):
        return [e for e in self.events() if e[0] == "P" and (button is None or e[1] == button)]


class EventLog(LineReader):
    """Raw button and key events on the root, as the server received them."""

    def __init__(self, program, env):
        super().__init__([program], env)
        wait_for(lambda: "ready" in self.snapshot(), 15, "the event log to start")

    def events(self):
        out = []
        for line in self.snapshot():
            parts = line.split()
            if len(parts) >= 3 and parts[0] in ("P", "R", "K"):
                out.append((parts[0], int(parts[1]), int(parts[2])))
        return out

    def timed(self):
        """Every event with both its times: (kind, detail, server ms, monotonic ns, title).
        Kinds: P, R, K as in events(), and M for a top-level window mapped (title set)."""
        out = []
        for line in self.snapshot():
            parts = line.split(" ", 4)
            if len(parts) >= 4 and parts[0] in ("P", "R", "K", "M"):
                out.append((parts[0], int(parts[1]), int(parts[2]), int(parts[3]),
                            parts[4] if len(parts) > 4 else ""))
        return out

    def balance(self):
        """Presses minus releases, by button: all zero when no button is left down."""
        counts = {}
        for kind, button, _ in self.events():
            if kind in ("P", "R"):
                counts[button] = counts.get(button, 0) + (1 if kind == "P" else -1)
        return counts


def _quote(path):
    return "'" + path.replace("'", "'\\''") + "'"
