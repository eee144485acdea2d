"""CPU time, memory and context switches of a running process, from /proc."""

import os

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class ProcStats:
    def __init__(self, pid):
        self.pid = pid

    def cpu_seconds(self):
        with open(f"/proc/{self.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS

    def _status(self):
        values = {}
        with open(f"/proc/{self.pid}/status") as f:
            for line in f:
                key, _, rest = line.partition(":")
                values[key] = rest.strip()
        return values

    def rss_mb(self):
        return int(self._status()["VmRSS"].split()[0]) / 1024

    def peak_rss_mb(self):
        return int(self._status()["VmHWM"].split()[0]) / 1024

    def context_switches(self):
        s = self._status()
        return int(s["voluntary_ctxt_switches"]) + int(s["nonvoluntary_ctxt_switches"])
