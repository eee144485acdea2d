# Headless sway for the Wayland tests and benchmark, with a session bus of its own:
#     with sway() as env, process([client], env) as c: ...
import contextlib
import glob
import os
import subprocess
import tempfile

from harness import check, process, wait_for

OUTPUT = (1024, 768)  # the one output's size in pixels
NOBODY = 65534


@contextlib.contextmanager
def sway():
    # Yields the clients' environment: WAYLAND_DISPLAY and SWAYSOCK as absolute paths, a private
    # XDG_RUNTIME_DIR and session bus, no DISPLAY, KESTRIN_SERVER_PID (sway, for measuring).
    # sway refuses to run as root: then it runs as nobody, in a runtime folder of its own whose
    # sockets root's clients can still use.
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with tempfile.TemporaryDirectory() as home:
        os.chmod(home, 0o755)
        runtime, clients, config, bus = (os.path.join(home, name)
                                         for name in ("sway", "run", "config", "bus"))
        os.mkdir(runtime, 0o700)
        os.mkdir(clients, 0o700)
        with open(config, "w") as f:
            f.write("xwayland disable\noutput HEADLESS-1 resolution %dx%d\n" % OUTPUT)
        argv = ["sway", "-c", config]
        if os.getuid() == 0:
            os.chown(runtime, NOBODY, NOBODY)
            argv = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", *argv]
        env = {name: value for name, value in os.environ.items() if name not in (
            "DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        with process(argv, dict(env, XDG_RUNTIME_DIR=runtime, WLR_BACKENDS="headless",
                                WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1"), **quiet) as \
                server, process(["dbus-daemon", "--session", "--nofork",
                                 "--address=unix:path=" + bus], env, **quiet):
            def socket(pattern):
                check(server.poll() is None, f"sway ended with status {server.returncode}")
                return glob.glob(os.path.join(runtime, pattern))

            display = wait_for(lambda: socket("wayland-[0-9]"), 10, "sway's Wayland socket")
            ipc = wait_for(lambda: socket("sway-ipc.*.sock"), 10, "sway's IPC socket")
            wait_for(lambda: os.path.exists(bus), 10, "the session bus")
            yield dict(env, WAYLAND_DISPLAY=display[0], SWAYSOCK=ipc[0], XDG_RUNTIME_DIR=clients,
                       DBUS_SESSION_BUS_ADDRESS="unix:path=" + bus,
                       KESTRIN_SERVER_PID=str(server.pid))
