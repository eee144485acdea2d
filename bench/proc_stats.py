"""CPU time, memory and context switches of a running process, and the time a virtual
machine's host took from its processors, from /proc."""

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


class StolenTime:
    """The share of the processors' time the host of a virtual machine ran something else
    ("steal" in /proc/stat), from creation to share()."""

    def __init__(self):
        self.start = self._times()

    @staticmethod
    def _times():
        with open("/proc/stat") as f:
            fields = [int(v) for v in f.readline().split()[1:]]
        return fields[7] if len(fields) > 7 else 0, sum(fields[:8])

    def share(self):
        """% of all processors' time."""
        (stolen0, total0), (stolen1, total1) = self.start, self._times()
        return 100 * (stolen1 - stolen0) / (total1 - total0) if total1 > total0 else 0.0
