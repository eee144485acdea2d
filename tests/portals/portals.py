# The desktop portals for the tests and benchmark, on the private session bus wlroots() gives:
# our fake backend (fake_portal.py), then the real xdg-desktop-portal frontend, which finds
# the backend through a .portal file of ours.
#     with portals(env) as portal: run clients with portal.env; read portal.calls("Button")
import contextlib
import os
import subprocess
import tempfile

from harness import QUIET, check, process, wait_for

FRONTEND = "/usr/libexec/xdg-desktop-portal"
BACKEND = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_portal.py")
NAME, PATH = "org.example.KestrinTestPortal", "/org/freedesktop/portal/desktop"
DESKTOP = "kestrintest"  # XDG_CURRENT_DESKTOP for the frontend: it picks the backends for it

PORTAL_FILE = """[portal]
DBusName={}
Interfaces=org.freedesktop.impl.portal.RemoteDesktop;org.freedesktop.impl.portal.GlobalShortcuts;
UseIn={}
"""


class Portals:
    def __init__(self, env, backend, frontend):
        self.env, self.backend, self.frontend = env, backend, frontend

    def call(self, method, *args):  # a control method of the backend, args as GVariant text
        subprocess.run(["gdbus", "call", "--session", "--dest", NAME, "--object-path", PATH,
                        "--method", f"{NAME}.{method}", *args], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def calls(self, kind):  # what the backend was asked, e.g. "Button": [[session, 272, 1]...]
        return [line.split()[1:] for line in list(self.backend.lines)
                if line.split()[0] == kind]

    def sessions(self, kind):  # e.g. "RemoteDesktop": the sessions made, in order
        return [call[0] for call in self.calls(kind + ".CreateSession")]


@contextlib.contextmanager
def portals(env, data=None):  # data: a folder of programs' entries the frontend has too
    with tempfile.TemporaryDirectory() as home, contextlib.ExitStack() as stack:
        with open(os.path.join(home, DESKTOP + ".portal"), "w") as f:
            f.write(PORTAL_FILE.format(NAME, DESKTOP))
        backend = stack.enter_context(process(["/usr/bin/python3", BACKEND], env, lines=True))
        wait_for(lambda: "ready" in backend.lines or backend.poll() is not None, 10,
                 "the fake portal backend")
        check(backend.poll() is None, "the fake portal backend ended")
        frontend = stack.enter_context(process([FRONTEND], dict(
            env, XDG_DESKTOP_PORTAL_DIR=home, XDG_CURRENT_DESKTOP=DESKTOP,
            XDG_DATA_DIRS=f"{data}:/usr/local/share:/usr/share" if data else ""), **QUIET))
        subprocess.run(["gdbus", "wait", "--session", "--timeout", "10",
                        "org.freedesktop.portal.Desktop"], env=env, check=True)
        yield Portals(env, backend, frontend)
