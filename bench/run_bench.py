#!/usr/bin/env python3
"""Click-rate benchmark: does Kestrin click exactly as often as it says?

Runs the real program on a private Xvfb, types the rate, chooses the mode, presses F3 and F4
through XTest, and watches the clicks from outside (XInput2 raw events on the root). The same
periods are run with `xdotool click --repeat N --delay D` as a peer. Writes a Markdown report
and a gnuplot plot. It measures; it never fails on a timing.

    run_bench.py --build build/bench --report docs/benchmarks.md \
                 --plot docs/benchmark-rates.png [--quick]
"""

import argparse
import contextlib
import os
import platform
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests"))
from harness import X, process, wait_for, xvfb  # noqa: E402
from proc_stats import ProcStats  # noqa: E402

RATES = [1, 10, 30, 31, 100, 200, 333, 500, 1000]  # clicks per second typed into the field
POINTER_PARKING = (1000, 740)  # away from Kestrin's window: clicks land on the bare root
F3_KEYCODE = 69
F4_KEYCODE = 70


def period_ms(rate):
    return 1000 // rate


def duration_s(rate, quick):
    ticks, floor = (50, 2.0) if quick else (200, 5.0)
    return max(floor, ticks * period_ms(rate) / 1000) + period_ms(rate) / 1000


def percentile(values, p):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    k = min(len(ordered) - 1, max(0, round(p / 100 * (len(ordered) - 1))))
    return ordered[k]


def analyse(presses_ns, per_burst, period, start_ns=None, stop_ns=None):
    """Timing figures from the press times (ns) of one run."""
    inside = [t for t in presses_ns if stop_ns is None or t <= stop_ns + 20_000_000]
    after = [t for t in presses_ns if stop_ns is not None and t > stop_ns + 20_000_000]
    bursts = inside[::per_burst]
    out = {"presses": len(inside), "ticks": len(bursts), "after_stop": len(after),
           "whole": len(inside) % per_burst == 0}
    if len(bursts) >= 2:
        span_ms = (bursts[-1] - bursts[0]) / 1e6
        intervals = [(b - a) / 1e6 for a, b in zip(bursts, bursts[1:])]
        out.update(
            achieved=(len(bursts) - 1) / (span_ms / 1000),
            p50=percentile(intervals, 50), p99=percentile(intervals, 99), max=max(intervals),
            missed=max(0, round(span_ms / period) + 1 - len(bursts)))
    if start_ns is not None and bursts:
        out["first_ms"] = (bursts[0] - start_ns) / 1e6
    return out


class Session:
    """A private desktop with the outside observer running on it; everything started on it
    ends with it."""

    def __init__(self, build):
        self.build = build
        self.stack = contextlib.ExitStack()
        env = self.stack.enter_context(xvfb())
        self.x = X(os.path.join(build, "tools", "x_observer"), env)
        self.watch = self.stack.enter_context(self.x.watch())
        self.server = ProcStats(int(env["KESTRIN_SERVER_PID"]))

    def start(self, argv):
        return self.stack.enter_context(process(argv, self.x.env, stderr=subprocess.DEVNULL))

    def timed(self):
        """Every event seen: (kind, detail, server ms, monotonic ns, title), as x_observer
        watch prints them (P, R, K: raw button and key events; M: a window mapped)."""
        events = []
        for line in list(self.watch.lines):
            parts = line.split(" ", 4)
            if len(parts) >= 4:
                events.append((parts[0], int(parts[1]), int(parts[2]), int(parts[3]),
                               parts[4] if len(parts) > 4 else ""))
        return events

    def close(self):
        self.stack.close()


class Kestrin:
    """The program, started on the session; its window has the keyboard focus."""

    def __init__(self, session):
        self.session = session
        self.started_ns = time.monotonic_ns()
        self.process = session.start([os.path.join(session.build, "kestrin")])
        self.stats = ProcStats(self.process.pid)
        mapped = wait_for(lambda: next(
            (e for e in session.timed()
             if e[0] == "M" and e[4] == "Kestrin" and e[3] >= self.started_ns), None),
            20, "Kestrin's window")
        self.map_ms = (mapped[3] - self.started_ns) / 1e6

    def close(self):
        if self.process.poll() is None:
            self.session.x.keys("Escape")
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def run_kestrin_case(session, rate, single, quick):
    x = session.x
    k = Kestrin(session)
    try:
        x.keys("Control_L+a", *str(rate))
        if single:
            x.keys("Tab", "Tab", "Down")  # rate field, Close, then the click-mode list
        x("move", *POINTER_PARKING)
        time.sleep(0.3)
        cpu0, xcpu0, t0 = k.stats.cpu_seconds(), session.server.cpu_seconds(), time.monotonic()
        x.keys("F3")
        time.sleep(duration_s(rate, quick))
        x.keys("F4")
        cpu1, xcpu1, t1 = k.stats.cpu_seconds(), session.server.cpu_seconds(), time.monotonic()
        rss = k.stats.peak_rss_mb()
        time.sleep(0.5)
        events = [e for e in session.timed() if e[3] >= k.started_ns]
    finally:
        k.close()
    f3 = next((e[3] for e in events if e[0] == "K" and e[1] == F3_KEYCODE), None)
    f4 = next((e[3] for e in events if e[0] == "K" and e[1] == F4_KEYCODE and e[3] > (f3 or 0)), None)
    presses = [e[3] for e in events if e[0] == "P" and f3 is not None and e[3] > f3]
    releases = [e for e in events if e[0] == "R" and f3 is not None and e[3] > f3]
    result = analyse(presses, 1 if single else 2, period_ms(rate), f3, f4)
    result.update(cpu=100 * (cpu1 - cpu0) / (t1 - t0), xcpu=100 * (xcpu1 - xcpu0) / (t1 - t0),
                  rss=rss, balanced=len(releases) == len(presses), map_ms=k.map_ms)
    return result


def run_xdotool_case(session, rate, quick):
    period = period_ms(rate)
    n = max(2, round(duration_s(rate, quick) * 1000 / period))
    session.x("move", *POINTER_PARKING)
    start = time.monotonic_ns()
    t0 = time.monotonic()
    proc = subprocess.Popen(["xdotool", "click", "--repeat", str(n), "--delay", str(period), "1"],
                            env=session.x.env)
    _, _, usage = os.wait4(proc.pid, 0)
    t1 = time.monotonic()
    time.sleep(0.3)
    presses = [e[3] for e in session.timed() if e[0] == "P" and e[3] >= start]
    result = analyse(presses, 1, period, start)
    result.update(cpu=100 * (usage.ru_utime + usage.ru_stime) / (t1 - t0),
                  rss=usage.ru_maxrss / 1024, requested=n)
    return result


def measure_idle(session):
    """Wake-ups and CPU with the window open and not clicking: first with the keyboard focus
    (the rate field's caret blinks), then in the background, as while clicking elsewhere."""
    k = Kestrin(session)

    def sample():
        sw0, cpu0, t0 = k.stats.context_switches(), k.stats.cpu_seconds(), time.monotonic()
        time.sleep(5.0)
        sw1, cpu1, t1 = k.stats.context_switches(), k.stats.cpu_seconds(), time.monotonic()
        return (sw1 - sw0) / (t1 - t0), 100 * (cpu1 - cpu0) / (t1 - t0)

    try:
        time.sleep(1.0)
        focused = sample()
        session.stack.enter_context(session.x.watch(500, 300, 300, 200))  # a window to focus
        session.x("move", 650, 400)
        session.x("focus")
        time.sleep(1.0)
        background = sample()
        return {"focused": focused, "background": background, "rss": k.stats.rss_mb(),
                "map_ms": k.map_ms}
    finally:
        k.close()


def machine_description():
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            model = next(line.split(":", 1)[1].strip() for line in f if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    try:
        qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"],
                            capture_output=True, text=True).stdout or "?"
    except OSError:
        qt = "?"
    return (f"{model}, {os.cpu_count()} cores, Linux {platform.release()}, "
            f"Qt {qt}, Xvfb (no window manager), {time.strftime('%Y-%m-%d')}")


def fmt(value, digits=2):
    if value is None or (isinstance(value, float) and value != value):
        return "–"
    return f"{value:.{digits}f}" if isinstance(value, float) else str(value)


def write_report(path, plot_name, machine, rows, peers, idle, maps, quick):
    lines = [
        "# Click-rate benchmark",
        "",
        "Made by `make bench` (bench/run_bench.py). Kestrin runs on a private Xvfb; the rate is "
        "typed into its field, F3 and F4 are pressed through XTest, and an independent X client "
        "(tools/x_observer) logs every raw button press the server receives. Intervals are "
        "between the first presses of consecutive ticks, timed on the observer's CLOCK_MONOTONIC. "
        "The peer is `xdotool click --repeat N --delay D` (single clicks, one press per click).",
        "",
        f"Machine: {machine}." + (" **Quick run** (shorter cases)." if quick else ""),
        "",
        f"![Expected against achieved rate]({plot_name})",
        "",
        "| rate typed | period ms | mode | expected /s | achieved /s | ratio | p50 ms | p99 ms | "
        "max ms | ticks | missed | lost/doubled | after F4 | F3→1st click ms | CPU % | X CPU % | "
        "RSS MB |",
        "|" + "---|" * 17,
    ]
    for rate, mode, r in rows:
        expected = 1000 / period_ms(rate)
        whole = "none" if r["whole"] and r["balanced"] else "**yes**"
        lines.append(
            f"| {rate} | {period_ms(rate)} | {mode} | {expected:.2f} | {fmt(r.get('achieved'))} | "
            f"{fmt(r['achieved'] / expected if 'achieved' in r else None, 4)} | {fmt(r.get('p50'))} | "
            f"{fmt(r.get('p99'))} | {fmt(r.get('max'))} | {r['ticks']} | {fmt(r.get('missed'))} | "
            f"{whole} | {r['after_stop']} | {fmt(r.get('first_ms'), 1)} | {fmt(r['cpu'], 1)} | "
            f"{fmt(r['xcpu'], 1)} | {fmt(r['rss'], 1)} |")
    lines += [
        "",
        "“F3→1st click” includes the one period that passes before the first tick.",
        "",
        "## The peer: xdotool",
        "",
        "| delay ms | expected /s | achieved /s | ratio | p50 ms | p99 ms | max ms | clicks | CPU % |",
        "|---|---|---|---|---|---|---|---|---|",
    ]
    for rate, r in peers:
        expected = 1000 / period_ms(rate)
        lines.append(
            f"| {period_ms(rate)} | {expected:.2f} | {fmt(r.get('achieved'))} | "
            f"{fmt(r['achieved'] / expected if 'achieved' in r else None, 4)} | {fmt(r.get('p50'))} | "
            f"{fmt(r.get('p99'))} | {fmt(r.get('max'))} | {r['presses']} of {r['requested']} | "
            f"{fmt(r['cpu'], 1)} |")
    lines += [
        "",
        "## Idle and start-up",
        "",
        f"- Window open, not clicking, in the background (another window has the focus, as while "
        f"clicking elsewhere): {idle['background'][0]:.1f} wake-ups/s (context switches), "
        f"{idle['background'][1]:.2f} % CPU.",
        f"- The same with the keyboard focus in its rate field: {idle['focused'][0]:.1f} "
        f"wake-ups/s, {idle['focused'][1]:.2f} % CPU: the caret's blink; Kestrin's own click "
        f"timer is disarmed.",
        f"- RSS {idle['rss']:.1f} MB.",
        f"- Start to window mapped: median {statistics.median(maps):.0f} ms, "
        f"max {max(maps):.0f} ms over {len(maps)} starts.",
        "",
    ]
    with open(path, "w") as f:
        f.write("\n".join(lines))


# The plot's series, read back from the report's tables: (title, the table's heading, a test
# of the row's cells, the cells of expected and achieved, point type).
PLOTTED = [
    ("Kestrin on X11, left double", "# ", lambda c: len(c) == 17 and c[2] == "left double", 3, 4, 7),
    ("Kestrin on X11, left single", "# ", lambda c: len(c) == 17 and c[2] == "left single", 3, 4, 5),
    ("xdotool click --delay", "## The peer", lambda c: len(c) == 9, 1, 2, 9),
    ("kestrin.exe under Wine, left double", "## Windows",
     lambda c: c[1] == "kestrin.exe, left double", 2, 3, 11),
    ("kestrin.exe under Wine, left single", "## Windows",
     lambda c: c[1] == "kestrin.exe, left single", 2, 3, 13),
    ("Wine, plain SetTimer (floor)", "## Windows",
     lambda c: c[1] == "floor: SetTimer, left double", 2, 3, 3),
    ("Kestrin on Wayland (sway), left double", "## Native Wayland",
     lambda c: c[1] == "left double", 2, 3, 6),
    ("Kestrin on Wayland (sway), left single", "## Native Wayland",
     lambda c: c[1] == "left single", 2, 3, 4),
    ("Kestrin through the portal, left double", "## Through the desktop portals",
     lambda c: True, 1, 2, 1),
    ("KDE Plasma 6.3 through EIS, left double", "## KDE Plasma 6.3 through EIS",
     lambda c: True, 1, 2, 8),
    ("KDE Plasma 5.27, left double", "## KDE Plasma 5.27", lambda c: True, 1, 2, 10),
]


def series_from_report(path):
    """Every plotted series, from the tables of the report as it stands."""
    series = {title: [] for title, *_ in PLOTTED}
    heading = ""
    with open(path) as f:
        for line in f:
            if line.startswith("#"):
                heading = line
                continue
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if not line.startswith("|") or not re.fullmatch(r"\d+", cells[0]):
                continue
            for title, section, wanted, expected, achieved, _ in PLOTTED:
                if heading.startswith(section) and wanted(cells) and \
                        re.fullmatch(r"[\d.]+", cells[achieved]):
                    series[title].append((float(cells[expected]), float(cells[achieved])))
    return [(title, series[title], point) for title, *_, point in PLOTTED if series[title]]


def section_of(path, title):
    """The lines of the report's section under that "## " title, [] when it has none."""
    if not os.path.exists(path):
        return []
    with open(path) as f:
        lines = f.read().split("\n")
    if title not in lines:
        return []
    start = lines.index(title)
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[start:end]


def merge_section(path, section):
    """Puts the section (Markdown lines under a "## " title) into the report, replacing its
    earlier version, else after the sections already there, before the peer's."""
    with open(path) as f:
        lines = f.read().split("\n")
    title = section[0]
    if title in lines:
        start = lines.index(title)
        end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")),
                   len(lines))
        del lines[start:end]
    else:
        start = next((i for i, line in enumerate(lines) if line.startswith("## The peer")),
                     len(lines))
    lines[start:start] = section
    with open(path, "w") as f:
        f.write("\n".join(lines))


def write_plot(path, series):
    with tempfile.TemporaryDirectory() as tmp:
        plots = []
        for i, (title, points, point_type) in enumerate(series):
            data = os.path.join(tmp, f"series{i}")
            with open(data, "w") as f:
                for expected, achieved in points:
                    f.write(f"{expected} {achieved}\n")
            plots.append(f'"{data}" title "{title}" with linespoints pt {point_type}')
        script = f"""
set terminal pngcairo size 800,600 font ",11"
set output "{path}"
set title "Clicks per second: asked for against achieved"
set logscale xy
set xlabel "expected ticks per second (1000 / period)"
set ylabel "achieved ticks per second"
set key top left
set grid
plot [0.8:1300][0.8:1300] x title "exact" with lines dashtype 2 lc "gray", \\
     """ + ", \\\n     ".join(plots) + "\n"
        subprocess.run(["gnuplot"], input=script, text=True, check=True)


def run_linux(args):
    session = Session(os.path.abspath(args.build))
    rows, peers, maps = [], [], []
    try:
        idle = measure_idle(session)
        maps.append(idle["map_ms"])
        for rate in RATES:
            for mode, single in (("left double", False), ("left single", True)):
                r = run_kestrin_case(session, rate, single, args.quick)
                maps.append(r["map_ms"])
                rows.append((rate, mode, r))
                print(f"kestrin {rate:>4}/s {mode:<11} achieved {fmt(r.get('achieved'))}/s "
                      f"p99 {fmt(r.get('p99'))} ms ticks {r['ticks']} cpu {r['cpu']:.1f}%",
                      flush=True)
            p = run_xdotool_case(session, rate, args.quick)
            peers.append((rate, p))
            print(f"xdotool {rate:>4}/s achieved {fmt(p.get('achieved'))}/s", flush=True)
    finally:
        session.close()

    long_runs = section_of(args.report, "## Over minutes")  # made by soak.py, kept
    write_report(args.report, os.path.basename(args.plot), machine_description(), rows, peers,
                 idle, maps, args.quick)
    if long_runs:
        merge_section(args.report, long_runs)


WAYLAND_SECTION = [
    "## Native Wayland (sway)", "",
    "Made by `make bench` (bench/wayland_bench.py): the Linux build on native Wayland under a "
    "headless sway (wlroots, pixman renderer), same machine. The rate is typed and F3/F4 pressed "
    "with a virtual keyboard of ours; the clicks go through the virtual-pointer protocol and are "
    "timed by a Wayland client of ours as each button event reaches it (CLOCK_MONOTONIC). CPU, "
    "in % of one core, is of Kestrin and of sway.", ""]
OTHER_WLROOTS_SECTION = [
    "## Native Wayland (labwc, Wayfire; {release})", "",
    "Made by `make bench` in {release} (bench/wayland_bench.py --compositor labwc | wayfire; on "
    "Debian 12 inside its root): as the sway rows, but under a headless labwc or Wayfire, whose "
    "own key bindings, the README's lines, call Kestrin's session-bus method through `dbus-send` "
    "(Kestrin started with `KESTRIN_INPUT=hotkeys=bus`). Left double. CPU, in % of one core, is "
    "of Kestrin and of the compositor.", ""]
PORTAL_SECTION = [
    "## Through the desktop portals", "",
    "Made by `make bench` (bench/portal_bench.py): Kestrin under the same headless sway with only "
    "the portal paths allowed (`KESTRIN_INPUT=clicks=portal,hotkeys=portal`): its clicks go "
    "through the real xdg-desktop-portal 1.16 frontend to a fake desktop backend of ours, which "
    "stamps each NotifyPointerButton as it arrives. Left double; each button event waits for "
    "the portal's answer, as the frontend would otherwise reorder them.", ""]

KDE5_SECTION = [
    "## KDE Plasma 5.27 (headless KWin)", "",
    "Made by `make bench` (bench/kde_bench.py): Kestrin under a headless KWin 5.27 "
    "(`kwin_wayland --virtual`) with the real portals on its session bus (xdg-desktop-portal "
    "1.16, xdg-desktop-portal-kde 5.27), clicking a fullscreen Wayland window of ours, which "
    "times each button event as it arrives; keys through KWin's fake input. Left double, "
    "through NotifyPointerButton, each button event waiting for the portal's answer. CPU in % "
    "of one core; the portals' is the frontend's and the KDE backend's together.", ""]
KDE6_SECTION = [
    "## KDE Plasma 6.3 {way} (headless KWin, Debian 13 root)", "",
    "Made by `make bench` (bench/kde_bench.py) in the Debian 13 root: as Plasma 5.27 above, with "
    "KWin 6.3.6, xdg-desktop-portal 1.20.3 and xdg-desktop-portal-kde 6.3.5, the user's consent "
    "kept in the permission store. {how}", ""]
# The Debian 13 builds measured, one a way of clicking (for Plasma 6.3 and GNOME 48 alike).
DEBIAN13_WAYS = [
    ("through EIS", "debian13-bench", "The release build with libei: the button events go "
     "through libei on the socket the portal's ConnectToEIS hands out."),
    ("through NotifyPointerButton", "debian13-bench-noei", "The same build made without libei "
     "(`KESTRIN_LIBEI=OFF`): each button event waits for the portal's answer."),
]


GNOME43_SECTION = [
    "## GNOME 43 (headless gnome-shell)", "",
    "Made by `make bench` (bench/gnome_bench.py): Kestrin under a headless gnome-shell 43 with "
    "GNOME's own portals on its session bus (xdg-desktop-portal 1.16, xdg-desktop-portal-gnome "
    "43), as a user runs it: the user allows the clicks in GNOME's dialog, types the rate and "
    "presses F3 through mutter's remote-desktop API, and a fullscreen Wayland window of ours "
    "times each button event as it arrives. Left double, through NotifyPointerButton. CPU in % "
    "of one core; the portals' is the frontend's and xdg-desktop-portal-gnome's together.", ""]
GNOME48_SECTION = [
    "## GNOME 48 {way} (headless gnome-shell, Debian 13 root)", "",
    "Made by `make bench` (bench/gnome_bench.py) in the Debian 13 root: as GNOME 43 above, with "
    "gnome-shell 48.7, xdg-desktop-portal 1.20.3 and xdg-desktop-portal-gnome 48.0. {how}", ""]


def debian13_sections(report, build, seconds, script, section):
    """The rows `script` measures in the Debian 13 root, each way of clicking."""
    for way, folder, how in DEBIAN13_WAYS:
        measured = subprocess.run(
            [os.path.join(HERE, "..", "scripts", "roots", "run.sh"), "debian13", "python3",
             script, "--build", os.path.join(os.path.dirname(build), folder),
             "--seconds", str(seconds)], capture_output=True, text=True, check=True).stdout
        merge_section(report, [line.format(way=way, how=how) for line in section] +
                      measured.rstrip("\n").split("\n") + [""])


def kde_sections(report, build, seconds):
    """Plasma 5.27 on this machine; Plasma 6.3 in the Debian 13 root, each way of clicking."""
    import kde_bench
    merge_section(report, KDE5_SECTION + kde_bench.table(build, seconds) + [""])
    debian13_sections(report, build, seconds, "bench/kde_bench.py", KDE6_SECTION)


def gnome_sections(report, build, seconds):
    """GNOME 43 on this machine; GNOME 48 in the Debian 13 root, each way of clicking."""
    import gnome_bench
    merge_section(report, GNOME43_SECTION + gnome_bench.table(build, seconds) + [""])
    debian13_sections(report, build, seconds, "bench/gnome_bench.py", GNOME48_SECTION)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", help="a build directory with kestrin and the tools")
    parser.add_argument("--report", required=True)
    parser.add_argument("--plot", required=True)
    parser.add_argument("--quick", action="store_true", help="shorter cases, for a quick look")
    parser.add_argument("--windows", help="the Windows build directory (kestrin.exe and helpers)")
    parser.add_argument("--x-input", help="the X input tool of the Wine tests")
    parser.add_argument("--only", choices=["linux", "windows", "wayland", "wlroots", "kde", "gnome"],
                        help="wlroots: labwc and Wayfire, on Debian 13 or unstable (no plot)")
    args = parser.parse_args()
    wanted = {args.only} if args.only else {"linux", "windows", "wayland", "kde", "gnome"}
    if args.windows is None:
        wanted.discard("windows")
    if args.only == "windows" and not (args.windows and args.x_input):
        parser.error("--only windows needs --windows and --x-input")
    if wanted & {"linux", "wayland", "wlroots", "kde", "gnome"} and not args.build:
        parser.error("the Linux, Wayland, KDE and GNOME rows need --build")
    seconds = 2.0 if args.quick else 4.0

    if "linux" in wanted:
        run_linux(args)
    if "windows" in wanted:
        import wine_bench
        results = wine_bench.run(os.path.abspath(args.windows), os.path.abspath(args.x_input),
                                 seconds=seconds, log=lambda line: print(line, flush=True))
        merge_section(args.report, wine_bench.report_section(results, time.strftime("%Y-%m-%d")))
    if "wayland" in wanted:
        import portal_bench
        import wayland_bench
        build = os.path.abspath(args.build)
        merge_section(args.report, WAYLAND_SECTION + wayland_bench.table(build, seconds) + [""])
        merge_section(args.report, PORTAL_SECTION + portal_bench.table(build, seconds) + [""])
    if "kde" in wanted:
        kde_sections(args.report, os.path.abspath(args.build), seconds)
    if "gnome" in wanted:
        gnome_sections(args.report, os.path.abspath(args.build), seconds)
    if "wlroots" in wanted:
        import wayland_bench
        with open("/etc/debian_version") as f:
            release = "Debian unstable" if f.read().strip().endswith("/sid") else "Debian 13"
        merge_section(args.report, [line.format(release=release) for line in OTHER_WLROOTS_SECTION]
                      + wayland_bench.other_compositors(os.path.abspath(args.build), seconds))
        return
    write_plot(os.path.abspath(args.plot), series_from_report(args.report))
    print(f"wrote {args.report} and {args.plot}")


if __name__ == "__main__":
    main()
