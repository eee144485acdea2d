"""A private X server on a free display, for the tests, the screenshots and the benchmark."""

import os
import subprocess

SCREEN = "1024x768x24"


class XvfbError(RuntimeError):
    pass


class Xvfb:
    """Xvfb on a display number the server picks itself (-displayfd), so runs never collide."""

    def __init__(self, screen=SCREEN):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number.isdigit():
            self.process.kill()
            self.process.wait()
            raise XvfbError("Xvfb did not report its display")
        self.display = ":" + number

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
