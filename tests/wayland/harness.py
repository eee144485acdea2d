"""Stands in for the shared end-to-end harness, tests/harness.py, with the same names, until it
lands; then this file goes (tests/ comes first on the suite's import path)."""

import argparse
import contextlib
import functools
import os
import subprocess
import sys
import threading
import time


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what, interval=0.05):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        check(time.monotonic() < deadline, f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
    return value


@functools.cache
def texts():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "expected_texts.tsv")
    with open(path, encoding="utf-8") as table:
        rows = [line.rstrip("\n").split("\t") for line in table if not line.startswith("#")]
    return {name: text.replace("\\n", "\n") for name, text in rows}


@contextlib.contextmanager
def process(argv, env=None, lines=False, **popen):
    if lines:
        popen.update(stdout=subprocess.PIPE, text=True)
    child = subprocess.Popen([str(arg) for arg in argv], env=env, **popen)
    child.lines = []
    if lines:
        threading.Thread(target=lambda: [child.lines.append(line.rstrip("\n"))
                                         for line in child.stdout], daemon=True).start()
    try:
        yield child
    finally:
        if child.poll() is None:
            child.terminate()
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
        child.wait()


def main(scenarios, *options):
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(scenarios))
    for option in options:
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    started = time.monotonic()
    try:
        scenarios[args.scenario](args)
    except Failure as failure:
        sys.exit(f"FAILED {args.scenario}: {failure}")
    print(f"passed {args.scenario} in {time.monotonic() - started:.1f} s")
