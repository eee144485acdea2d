#!/usr/bin/env python3
# The Debian roots' runner (scripts/roots/run.sh) leaves nothing on the host, however the
# command inside a root ends: no process, no mount, nothing in the host's /tmp, /run or /dev/shm.
#     root_leaves_nothing.py SCENARIO --run RUN_SH --release debian13|sid

import contextlib
import os
import signal
import subprocess
import sys
import uuid

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import check, main, wait_for  # noqa: E402

# Inside the root: a process that leaves its parent's session (as a compositor's helper or a
# guard does), a mount, a file in each of /tmp, /run and /dev/shm; then "ready", then `end`.
LITTER = """
setsid bash -c 'sleep 1000; : {mark}' </dev/null >/dev/null 2>&1 &
mkdir -p /mnt/{mark} && mount -t tmpfs tmpfs /mnt/{mark}
for dir in /tmp /run /dev/shm; do echo {mark} > $dir/{mark}; done
grep -q '{release}' /etc/debian_version || exit 9
echo ready
{end}
"""


RELEASES = {"debian13": "^13[.]", "sid": "/sid$"}  # as /etc/debian_version says it


def run_inside(args, end):
    mark = "kestrin-leak-" + uuid.uuid4().hex[:12]
    litter = LITTER.format(mark=mark, end=end, release=RELEASES[args.release])
    child = subprocess.Popen([args.run, args.release, "bash", "-c", litter],
                             stdout=subprocess.PIPE, text=True, start_new_session=True)
    ready = child.stdout.readline().strip()
    check(ready == "ready", f"the command inside the root did not start: {ready!r}")
    return child, mark


def left_behind(mark, root):
    """What the host still holds of a run marked `mark` in `root`: processes, mounts, files."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError), open(f"/proc/{pid}/cmdline", "rb") as f:
            if mark.encode() in f.read():
                found.append(f"process {pid}")
    mounts = subprocess.run(["findmnt", "-rn", "-o", "TARGET"], capture_output=True, text=True)
    found += [f"mount {m}" for m in mounts.stdout.split() if mark in m or m.startswith(root)]
    found += [f"file {d}/{mark}" for d in ("/tmp", "/run", "/dev/shm")
              if os.path.exists(f"{d}/{mark}")]
    return found


def leaves_nothing_however_the_command_ends(args):
    root = subprocess.run([os.path.join(os.path.dirname(args.run), "root.sh"), args.release,
                           "path"], check=True, capture_output=True, text=True).stdout.strip()
    # By itself, with its status given back; by a terminal's Ctrl+C (SIGINT to the whole
    # foreground process group); by a test runner's timeout (SIGKILL to the runner alone, which
    # cannot clean up).
    for how, stop in (("exit 7", None), ("sleep 1000", lambda pid: os.killpg(pid, signal.SIGINT)),
                      ("sleep 1000", lambda pid: os.kill(pid, signal.SIGKILL))):
        child, mark = run_inside(args, how)
        if stop:
            stop(child.pid)
        child.wait(timeout=60)
        check(stop or child.returncode == 7, f"status {child.returncode}, not the command's 7")
        # Processes of a pid namespace end when its first process does; the kernel may take a
        # moment to reap them all.
        wait_for(lambda: not left_behind(mark, root), 20,
                 f"nothing to be left: {left_behind(mark, root)}")


if __name__ == "__main__":
    main({"leaves_nothing_however_the_command_ends": leaves_nothing_however_the_command_ends},
         "run", "release")
