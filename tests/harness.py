"""What every end-to-end suite shares: a private display server, processes that always end,
waiting for a condition, one kind of failure, the texts the tests expect, and running one
named scenario from the command line (each scenario is one CTest test).

    with xvfb() as env, process([program], env) as p:
        wait_for(lambda: ..., 10, "the window")
"""

import argparse
import collections
import contextlib
import ctypes
import functools
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# How many times longer than an idle machine needs a wait goes on before it fails. The host
# of our machines takes time away in stalls, and other work shares the two cores: a desktop
# that starts in 8 s when idle took over 30 s under load here, and a wait that fails then fails
# on no fault of the program's.
PATIENCE = 4


def wait_for(predicate, timeout, what, interval=0.05):
    """Polls until predicate() gives a true value, which it returns; fails once that has not
    come within `timeout` s, what an idle machine needs, PATIENCE times over."""
    timeout *= PATIENCE
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        check(time.monotonic() < deadline, f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
    return value


def settles(count, quiet=0.5, timeout=5):
    """Whether count() stops changing for `quiet` seconds within `timeout`: the clicks stop,
    however late a busy machine lets the last of them land."""
    last, since = count(), time.monotonic()
    deadline = since + timeout
    while time.monotonic() - since < quiet:
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)
        if (now := count()) != last:
            last, since = now, time.monotonic()
    return True


def button_events(lines, kinds="PR"):
    """The button events among an observer's lines "<kind> <button> <time> ...", kind one of
    `kinds` (a press, a release): [(kind, button, time), ...], in order."""
    return [(words[0], int(words[1]), int(words[2])) for words in map(str.split, lines)
            if len(words) >= 3 and words[0] in tuple(kinds)]


def ticks(events, burst, what):
    """The ticks that sent these button events, [(kind, button, time), ...] in the order they
    were received, each tick sending `burst`, [(kind, button), ...] (a left double click:
    P 1, R 1, P 1, R 1). Returns the time of each tick's first event. Events are grouped by
    their order alone, never by the time between them: a host that steals time may hold one
    event of a burst back for long. Fails on an event out of that order: a release lost or
    sent before its press, another button."""
    for i, (kind, button, _) in enumerate(events):
        expected = burst[i % len(burst)]
        check((kind, button) == expected,
              f"{what}: event {i} is {kind} {button}, not {expected} (bursts of {burst})")
    return [when for _, _, when in events[::len(burst)]]


def check_rate(times, per_second, per_unit, what):
    """The ticks at these times (in units of 1/per_unit s) came at per_second. Missed periods
    are made up only within a few milliseconds, so there are never more ticks than periods,
    give or take the first tick's delay; a loaded machine may lose a few ticks, never a third
    of them."""
    check(len(times) >= 3, f"{what}: {len(times)} ticks")
    periods = (times[-1] - times[0]) * per_second / per_unit
    intervals = len(times) - 1
    check(0.7 * periods <= intervals <= periods + 2,
          f"{what}: {intervals} ticks in {periods:.1f} periods at {per_second} per second")


@functools.cache
def texts():
    """The texts the program is expected to show, by name (tests/expected_texts.tsv)."""
    with open(os.path.join(HERE, "expected_texts.tsv"), encoding="utf-8") as table:
        rows = [line.rstrip("\n").split("\t") for line in table if not line.startswith("#")]
    return {name: text.replace("\\n", "\n") for name, text in rows}


@contextlib.contextmanager
def process(argv, env=None, lines=False, **popen):
    """Starts argv; on leaving, ends it (TERM, then KILL) and reaps it, failure or not. With
    lines=True its standard output collects, line by line as it comes, in process.lines."""
    if lines:
        popen.update(stdout=subprocess.PIPE, text=True)
    child = subprocess.Popen([str(arg) for arg in argv], env=env, **popen)
    child.lines = []

    def collect():
        for line in child.stdout:
            child.lines.append(line.rstrip("\n"))

    if lines:
        threading.Thread(target=collect, daemon=True).start()
    try:
        yield child
    except Failure:  # what it said last (but clicks seen and counts shown), to tell why
        if said := [line for line in child.lines if line[:2] not in ("P ", "R ") and
                    texts()["count_prefix"] not in line][-8:]:
            name = next(os.path.basename(str(arg)) for arg in argv if str(arg)[0] != "-" and
                        os.path.basename(str(arg)) != "setpriv")
            print(f"{name} said last:", *said, sep="\n  ", file=sys.stderr)
        raise
    finally:
        if child.poll() is None:
            child.terminate()
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
        child.wait()


# A display server is a context manager that yields the environment its clients run in;
# another one (a headless compositor, say) goes next to this one, built the same way.
@contextlib.contextmanager
def xvfb(screen="1024x768x24", second_screen=None):
    """An Xvfb on a display number it picks itself (-displayfd), so runs never collide. Yields
    the environment to run clients in: DISPLAY, a private HOME and XDG_RUNTIME_DIR (caches
    land there, not in the user's), no Wayland, and KESTRIN_SERVER_PID for those who measure
    the server."""
    read_end, write_end = os.pipe()
    extra = ["-screen", "1", second_screen] if second_screen else []
    with process(["Xvfb", "-displayfd", write_end, "-screen", "0", screen, *extra, "-nolisten",
                  "tcp", "-noreset"], pass_fds=(write_end,), **QUIET) as server, \
            tempfile.TemporaryDirectory() as runtime:
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        check(number.isdigit(), "Xvfb did not report its display")
        env = dict(os.environ, DISPLAY=":" + number, HOME=runtime, XDG_RUNTIME_DIR=runtime,
                   KESTRIN_SERVER_PID=str(server.pid))
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        yield env


# A private session bus: no service folders, so nothing on it starts by itself (the real
# desktop portal among them), unless `services` adds the system's; a real session bus's limit
# of pending replies, as clicks sent through the portals wait on many. Any user may connect:
# the compositors and what the bus starts run as nobody, the tests as root.
BUS_CONFIG = """<busconfig><type>{}</type><listen>unix:path={}</listen>{}
  <limit name="max_replies_per_connection">50000</limit>
  <policy context="default"><allow user="*"/><allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/><allow own="*"/></policy></busconfig>"""

OUTPUT = (1280, 720)  # the one output's size in pixels (wlroots' headless default)
NOBODY = 65534


def as_nobody(argv, groups="--clear-groups"):
    """argv run as nobody when we are root (compositors refuse root or need not)."""
    if os.getuid() != 0:
        return argv
    return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", groups, *argv]


def clean_env():  # ours, without any display or session bus of the caller's
    return {name: value for name, value in os.environ.items() if name not in (
        "DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM",
        "XDG_CURRENT_DESKTOP", "XDG_DATA_DIRS")}


@contextlib.contextmanager
def compositor_home():
    """A private home: yields (home, runtime, clients), the runtime folder nobody's, the
    clients' ours; each 0700, the home readable (root's clients reach nobody's sockets)."""
    with tempfile.TemporaryDirectory() as home:
        os.chmod(home, 0o755)
        runtime, clients = os.path.join(home, "run"), os.path.join(home, "clients")
        os.mkdir(runtime, 0o700)
        os.mkdir(clients, 0o700)
        if os.getuid() == 0:
            os.chown(runtime, NOBODY, NOBODY)
        yield home, runtime, clients


@contextlib.contextmanager
def session_bus(home, env, services=False, kind="session"):
    """dbus-daemon on a socket in `home`, started with `env` (which what it starts inherits);
    yields its address. kind="system" makes a private system bus instead, with no services."""
    path = os.path.join(home, "bus" if kind == "session" else kind)
    with open(path + ".conf", "w") as f:
        f.write(BUS_CONFIG.format(kind, path,
                                  "<standard_session_servicedirs/>" if services else ""))
    argv = ["dbus-daemon", "--nofork", "--config-file", path + ".conf"]
    with process(as_nobody(argv) if services else argv, env, **QUIET) as bus:
        wait_for(lambda: os.path.exists(path) or bus.poll() is not None, 10, "the session bus")
        check(bus.poll() is None, f"dbus-daemon ended with status {bus.returncode}")
        yield "unix:path=" + path


# How each wlroots compositor runs headless: its command line, given the folder its
# configuration is in; the file that holds it; that configuration around the user's lines.
WLROOTS = {
    "sway": (["sway", "-c", "{}/config"], "config",
             "xwayland disable\noutput HEADLESS-1 resolution %dx%d\n{}" % OUTPUT),
    "labwc": (["labwc", "-C", "{}"], "rc.xml",
              '<?xml version="1.0"?>\n<labwc_config><keyboard><default/>\n{}\n</keyboard>'
              "</labwc_config>\n"),
    "wayfire": (["wayfire", "-c", "{}/wayfire.ini"], "wayfire.ini",
                "[core]\nxwayland = false\n[output:HEADLESS-1]\nmode = %dx%d\n{}\n" % OUTPUT),
}


@contextlib.contextmanager
def wlroots(compositor="sway", lines=""):
    """A headless wlroots compositor (sway, labwc, wayfire) with a session bus of its own,
    configured with the user's `lines` (key bindings, say). Yields the clients' environment:
    WAYLAND_DISPLAY (and SWAYSOCK under sway) as absolute paths, a private XDG_RUNTIME_DIR and
    session bus, no DISPLAY, KESTRIN_SERVER_PID (the compositor, for measuring). sway refuses
    to run as root, and none needs to: as root, the compositor runs as nobody, in a runtime
    folder of its own whose sockets root's clients can still use."""
    command, config_file, config = WLROOTS[compositor]
    with compositor_home() as (home, runtime, clients):
        folder = os.path.join(home, "config")
        os.mkdir(folder)
        with open(os.path.join(folder, config_file), "w") as f:
            f.write(config.format(lines))
        env = clean_env()
        server_env = dict(env, HOME=home, XDG_RUNTIME_DIR=runtime, WLR_BACKENDS="headless",
                          WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1")
        groups = "--clear-groups"
        nodes = sorted(glob.glob("/dev/dri/renderD*"))
        if compositor == "wayfire" and nodes:  # 0.9 draws with OpenGL ES only, on a DRM
            server_env["WLR_RENDER_DRM_DEVICE"] = nodes[0]  # device; 0.10 with pixman too
            groups = f"--groups={os.stat(nodes[0]).st_gid}"
        argv = as_nobody([arg.format(folder) for arg in command], groups)
        # The bus first: the compositor's key bindings call Kestrin on it.
        with session_bus(home, env) as bus:
            env["DBUS_SESSION_BUS_ADDRESS"] = server_env["DBUS_SESSION_BUS_ADDRESS"] = bus
            with process(argv, server_env, **QUIET) as server:
                def socket(pattern):
                    check(server.poll() is None,
                          f"{compositor} ended with status {server.returncode}")
                    return glob.glob(os.path.join(runtime, pattern))

                display = wait_for(lambda: socket("wayland-[0-9]"), 10,
                                   f"{compositor}'s Wayland socket")
                if compositor == "sway":
                    env["SWAYSOCK"] = wait_for(lambda: socket("sway-ipc.*.sock"), 10,
                                               "sway's IPC socket")[0]
                yield dict(env, WAYLAND_DISPLAY=display[0], XDG_RUNTIME_DIR=clients,
                           KESTRIN_SERVER_PID=str(server.pid))


def install_for_user(home, entry):  # a program's entry in the user's data folder (~/.local)
    folder = os.path.join(home, ".local", "share", "applications")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(entry, folder)


@contextlib.contextmanager
def kwin(kwinrc="", entry=None):
    """A headless KWin (kwin_wayland --virtual) as nobody, as a Plasma session has it: a session
    bus of its own that starts the real portals (the frontend and xdg-desktop-portal-kde) with
    the session's environment, set before the bus starts. Keys and pointer come through KWin's
    fake input, granted to every client (a test-only setting of KWin's). `kwinrc` is KWin's
    configuration; `entry` a program's desktop entry, installed for the user. Yields the
    clients' environment, to run them as nobody: its home, runtime folder and bus;
    KESTRIN_SERVER_PID (KWin). A KWin whose binary carries a file capability (Plasma 5.27's)
    refuses an unprivileged start: a copy of it, which has none, runs."""
    with compositor_home() as (home, runtime, _):
        program = shutil.which("kwin_wayland")
        check(program, "no kwin_wayland")
        with contextlib.suppress(OSError):
            if os.getxattr(program, "security.capability"):
                program = shutil.copy(program, home)
        env = dict(clean_env(), HOME=home, XDG_RUNTIME_DIR=runtime, XDG_CURRENT_DESKTOP="KDE",
                   XDG_CONFIG_HOME=os.path.join(home, "config"), WAYLAND_DISPLAY="wayland-kde",
                   QT_QPA_PLATFORM="wayland")
        if entry:
            install_for_user(home, entry)
        os.makedirs(env["XDG_CONFIG_HOME"])
        with open(os.path.join(env["XDG_CONFIG_HOME"], "kwinrc"), "w") as f:
            f.write(kwinrc)
        with desktop("KWin", [program, "--virtual", "--no-lockscreen", "--socket", "wayland-kde",
                              "--width", str(OUTPUT[0]), "--height", str(OUTPUT[1])], env,
                     KWIN_WAYLAND_NO_PERMISSION_CHECKS="1") as session:
            yield session


@contextlib.contextmanager
def desktop(name, argv, env, timeout=20, started=None, portal=True, **server_env):
    """A desktop's session bus, which starts the real services (the portals) with `env`, and
    its compositor `argv`, all as nobody; env's WAYLAND_DISPLAY is its socket. Yields the
    clients' environment: the bus, KESTRIN_SERVER_PID, once the socket is there (and, given
    `started`, once the compositor has written a line holding it). A desktop that hangs as it
    starts (gnome-shell 43 did, on a loaded machine, before any program of ours ran) is said
    so, with what it said last, and started afresh once. At the end,
    the document portal's file system goes too: nobody's, root cannot even look into it to
    remove it. The portal runs by then, as the desktop starts it in a user's session (unless
    `portal` is False: the harness's own test has no real desktop)."""
    runtime = env["XDG_RUNTIME_DIR"]
    own_home(env["HOME"])
    output = dict(lines=True, stderr=subprocess.STDOUT) if started else QUIET
    try:
        for attempt in (1, 2):
            if attempt == 2:  # what the hung one left goes first: a process of its still
                # holding its socket's lock kept the next one from starting
                ended_leftovers(f"DBUS_SESSION_BUS_ADDRESS={bus}".encode(), grace=0)
            with session_bus(env["HOME"], env, services=True) as bus, process(as_nobody(
                    argv), dict(env, DBUS_SESSION_BUS_ADDRESS=bus, **server_env),
                    **output) as server:
                def up():
                    check(server.poll() is None, f"{name} ended with status {server.returncode}")
                    return os.path.exists(os.path.join(runtime, env["WAYLAND_DISPLAY"])) and (
                        not started or any(started in line for line in list(server.lines)))

                try:
                    wait_for(up, timeout, f"{name} to start up")
                except Failure:
                    if attempt == 2 or server.poll() is not None:
                        raise
                    print(f"{name} hung as it started, after saying:", *server.lines[-3:],
                          f"{name} started afresh", sep="\n  ", file=sys.stderr)
                    continue
                session = dict(env, DBUS_SESSION_BUS_ADDRESS=bus,
                               KESTRIN_SERVER_PID=str(server.pid))
                if portal:
                    subprocess.run(as_nobody([
                        "gdbus", "call", "--session", "--timeout", "90", "--dest", PORTAL[0],
                        "--object-path", PORTAL[1], "--method",
                        "org.freedesktop.DBus.Properties.Get", "org.freedesktop.portal.Settings",
                        "version"]), env=session, check=True, **QUIET)
                yield session
                return
    finally:
        subprocess.run(["umount", "--lazy", os.path.join(runtime, "doc")], **QUIET)


def own_home(home):  # the folder and all in it nobody's, when we are root
    if os.getuid() == 0:
        for folder, _, files in os.walk(home):
            for name in [folder, *(os.path.join(folder, f) for f in files)]:
                os.chown(name, NOBODY, NOBODY)


GNOME_OUTPUT = (1280, 800)
PORTAL = ("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop")


@contextlib.contextmanager
def orphans_ended():
    # Ends, on leaving, what our children started and left behind (services a session bus
    # started, the helpers they started in turn): they come to us, not to init, meanwhile.
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    try:
        yield
    finally:
        while children := [int(pid) for task in glob.glob("/proc/self/task/*/children")
                           for pid in open(task).read().split()]:
            for pid in children:
                with contextlib.suppress(ProcessLookupError, ChildProcessError):
                    os.kill(pid, signal.SIGKILL)
                    os.waitpid(pid, 0)


@contextlib.contextmanager
def gnome(entry=None):
    # A headless gnome-shell as nobody, as a GNOME session has it: a private system bus (the
    # shell ends at start without one), and a session bus of its own that starts the real
    # services (the portal frontend and xdg-desktop-portal-gnome, the permission store, dconf)
    # with the session's environment, set before the bus starts (the session type among it:
    # GNOME's portal shows no dialog outside a Wayland session). The shell starts in the overview,
    # and has started up when it says so. Driven during its startup animation (a remote-desktop
    # session, an Esc), it at times never finishes starting up, and no shortcut fires then.
    # `entry`: a program's desktop entry, installed for the user. Yields the clients'
    # environment, to run them as nobody: its home (GSettings included), runtime folder and
    # buses; KESTRIN_SERVER_PID (the shell).
    with compositor_home() as (home, runtime, _), orphans_ended():
        if entry:
            install_for_user(home, entry)
        env = dict(clean_env(), HOME=home, XDG_RUNTIME_DIR=runtime, XDG_CURRENT_DESKTOP="GNOME",
                   XDG_SESSION_TYPE="wayland", WAYLAND_DISPLAY="wayland-gnome")
        own_home(home)
        with session_bus(home, env, kind="system") as system:
            env["DBUS_SYSTEM_BUS_ADDRESS"] = system
            with desktop("gnome-shell", [
                    "gnome-shell", "--headless", "--wayland", "--no-x11", "--virtual-monitor",
                    "%dx%d" % GNOME_OUTPUT, "--wayland-display", "wayland-gnome"], env,
                    30, started="GNOME Shell started at") as session:
                for name in ("org.gnome.Mutter.RemoteDesktop", "org.gnome.Shell.Introspect"):
                    subprocess.run(["gdbus", "wait", "--session", "--timeout",
                                    str(30 * PATIENCE), name], env=session, check=True)
                yield session


def marked(mark):
    # The processes but this one whose environment holds `mark`: what this run started, and
    # what those started in turn (a session bus's services among them), wherever they went.
    def holds(environ):
        with contextlib.suppress(OSError), open(environ, "rb") as f:
            return mark in f.read().split(b"\0")
    return [int(e.split("/")[2]) for e in glob.glob("/proc/[0-9]*/environ")
            if e.split("/")[2] != str(os.getpid()) and holds(e)]


def ended_leftovers(mark, grace=30):
    # What this run started and left running (after a grace for those still ending), ended:
    # a scenario leaves nothing running for the next one to meet.
    deadline = time.monotonic() + grace
    while (left := marked(mark)) and time.monotonic() < deadline:
        time.sleep(0.2)
    names = []
    for pid in left:
        with contextlib.suppress(OSError):
            names.append(f"{open(f'/proc/{pid}/comm').read().strip()} ({pid})")
            os.kill(pid, signal.SIGKILL)
    return names


def main(scenarios, *options):
    """Runs the scenario named first on the command line, scenarios[name](args), where args
    holds the --OPTION values given (None if not): suite.py SCENARIO --OPTION VALUE ...
    Everything the scenario starts carries a mark of this run in its environment, by which
    ended_leftovers() finds what it left behind."""
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(scenarios))
    for option in options:
        parser.add_argument("--" + option)
    args = parser.parse_args()
    started = time.monotonic()
    os.environ["KESTRIN_TEST_RUN"] = f"{os.getpid()}.{time.time_ns()}"
    mark = f"KESTRIN_TEST_RUN={os.environ['KESTRIN_TEST_RUN']}".encode()
    try:
        try:
            scenarios[args.scenario](args)
        finally:
            left = ended_leftovers(mark)
        check(not left, "left running: " + ", ".join(left))
    except Failure as failure:
        sys.exit(f"FAILED {args.scenario}: {failure}")
    print(f"passed {args.scenario} in {time.monotonic() - started:.1f} s")


Window = collections.namedtuple("Window", "id title text")


class X:
    """An X display seen and driven from outside, as another client would, through our
    observer (tools/x_observer.cpp, which lists its commands)."""

    def __init__(self, observer, env):
        self.observer, self.env = observer, env

    def __call__(self, *args):
        done = subprocess.run([self.observer, *map(str, args)], env=self.env, text=True,
                              capture_output=True, timeout=30)
        check(done.returncode == 0, f"x_observer {args}: {done.stderr.strip()}")
        return done.stdout

    def keys(self, *keys):
        self("key", *keys)

    def windows(self):
        """The top-level windows shown, with their published texts."""
        shown = []
        for line in self("windows").splitlines():
            head, _, text = line.partition("\t")
            number, _, title = head.partition(" ")
            shown.append(Window(int(number), title, text.replace("\\n", "\n")))
        return shown

    def wait_window(self, title, text=None, timeout=15):
        return wait_for(lambda: next((w for w in self.windows() if w.title == title and
                                      text in (None, w.text)), None), timeout,
                        f"a window {title!r}" + (f" saying {text!r}" if text else ""))

    @contextlib.contextmanager
    def watch(self, *target):
        """x_observer watch [X Y W H], running; its lines collect in .lines."""
        with process([self.observer, "watch", *target], self.env, lines=True) as watcher:
            wait_for(lambda: "ready" in watcher.lines, 10, "x_observer watch to start")
            yield watcher
