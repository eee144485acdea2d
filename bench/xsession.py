"""A private X display with an outside observer, and the processes measured on it.

Shared by the benchmark and the soak run: starts Xvfb on a free display, runs x_event_log
on it, drives keys and the pointer with xdotool (XTest), and reads a process's CPU time,
memory and context switches from /proc.
"""

import os
import subprocess
import tempfile
import threading
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class ProcStats:
    """CPU seconds, resident memory and context switches of a process, from /proc."""

    def __init__(self, pid):
        self.pid = pid

    def cpu_seconds(self):
        with open(f"/proc/{self.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS

    def status(self):
        values = {}
        with open(f"/proc/{self.pid}/status") as f:
            for line in f:
                key, _, rest = line.partition(":")
                values[key] = rest.strip()
        return values

    def rss_mb(self):
        return int(self.status()["VmRSS"].split()[0]) / 1024

    def peak_rss_mb(self):
        return int(self.status()["VmHWM"].split()[0]) / 1024

    def context_switches(self):
        s = self.status()
        return int(s["voluntary_ctxt_switches"]) + int(s["nonvoluntary_ctxt_switches"])


class Observer:
    """x_event_log running on the display, its events collected as they come."""

    def __init__(self, exe, env):
        self.events = []  # (kind, detail, server_ms, mono_ns, title)
        self._lock = threading.Lock()
        self._proc = subprocess.Popen([exe], env=env, stdout=subprocess.PIPE, text=True)
        first = self._proc.stdout.readline().strip()
        if first != "ready":
            raise RuntimeError(f"observer did not start: {first!r}")
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        for line in self._proc.stdout:
            parts = line.rstrip("\n").split(" ", 4)
            if len(parts) < 4:
                continue
            event = (parts[0], int(parts[1]), int(parts[2]), int(parts[3]),
                     parts[4] if len(parts) > 4 else "")
            with self._lock:
                self.events.append(event)

    def snapshot(self):
        with self._lock:
            return list(self.events)

    def wait_for(self, predicate, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for event in self.snapshot():
                if predicate(event):
                    return event
            time.sleep(0.005)
        return None

    def close(self):
        self._proc.terminate()
        self._proc.wait(timeout=5)


class XSession:
    """Xvfb on a free display, with an observer attached."""

    def __init__(self, observer_exe, width=1024, height=768):
        self._dir = tempfile.TemporaryDirectory(prefix="kestrin-bench-")
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.xvfb_stats = ProcStats(self.xvfb.pid)
        self.observer = Observer(observer_exe, self.env)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        self.observer.close()
        self.xvfb.terminate()
        self.xvfb.wait(timeout=5)
        self._dir.cleanup()


class Kestrin:
    """The program under test, started on a session and driven with XTest."""

    def __init__(self, session, exe):
        self.session = session
        self.started_ns = time.monotonic_ns()
        self.proc = subprocess.Popen([exe], env=session.env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.stats = ProcStats(self.proc.pid)
        mapped = session.observer.wait_for(
            lambda e: e[0] == "M" and e[4] == "Kestrin" and e[3] >= self.started_ns, 20)
        if mapped is None:
            self.proc.kill()
            raise RuntimeError("Kestrin's window did not show")
        self.window = mapped[1]
        self.map_ms = (mapped[3] - self.started_ns) / 1e6

    def focus(self):
        self.session.xdotool("windowfocus", "--sync", str(self.window))

    def set_rate(self, text):
        self.focus()
        self.session.xdotool("key", "ctrl+a", "BackSpace")
        self.session.xdotool("type", "--delay", "5", text)

    def choose_single_click(self):
        # Tab order: rate field, Close, click-mode list; Down picks the next entry.
        self.focus()
        self.session.xdotool("key", "Tab", "Tab", "Down")

    def key(self, name):
        self.session.xdotool("key", name)

    def close(self):
        if self.proc.poll() is None:
            self.focus()
            self.session.xdotool("key", "Escape")
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
