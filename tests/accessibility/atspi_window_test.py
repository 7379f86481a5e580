#!/usr/bin/python3
"""The Vornik window as a screen reader meets it.

Starts its own display (Xvfb -displayfd), its own D-Bus session, the accessibility bus and
registry of at-spi2-core, and the Vornik program with Qt's accessibility bridge switched on; then
walks the window through a real AT-SPI client (pyatspi): finds "Change" by role and name, reads
every control's role and name, and presses "Help / About" through its action, which opens the help
box, which is then closed through AT-SPI as well. Behind that box, and again while "Change" waits
for the prefix's hive that the test keeps locked, it presses the buttons, toggles a check box and
rewrites the text box through AT-SPI: none of it may start a second command or change a control,
and the window must say that it is busy. Every process the test starts is ended by its id before
it returns.

Usage: atspi_window_test.py <path of the vornik program>
Exit status 0 passed, 1 failed, 77 skipped (no display server could be started).
"""
import ctypes
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid

SKIP = 77
DEADLINE_S = 20.0
# Every process the test starts carries this mark, so that stragglers they spawned can be found.
MARK_NAME = "VORNIK_ATSPI_TEST_MARK"

# The window as the test expects to hear it: (role name, accessible name) in tree order, which is
# the tab order.
EXPECTED_CONTROLS = [
    ("label", "Vornik 1.2"),
    ("label", "Image Location:"),
    ("text", "Image Location:"),
    ("push button", "Browse for image"),
    ("push button", "Help / About"),
    ("check box", "Remove Overview Tab"),
    ("check box", "Remove Address book Tab"),
    ("label", "Restricted Tab Remover"),
    ("push button", "Change"),
    ("check box", "Restore Tabs"),
    ("image", "Vornik logo"),
]


# A user hive of a prefix as Wine writes it, with an old banner value of another type.
INITIAL_HIVE = """WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\\\Yahoo\\\\Pager\\\\yurl] 1700000000
#time=1da13a8f6c2a000
"Chat Adurl"=dword:00000001

"""


class Failure(Exception):
    pass


def make_prefix(folder):
    os.makedirs(os.path.join(folder, "drive_c"))
    os.makedirs(os.path.join(folder, "dosdevices"))
    os.symlink("../drive_c", os.path.join(folder, "dosdevices", "c:"))
    os.symlink("/", os.path.join(folder, "dosdevices", "z:"))
    with open(os.path.join(folder, "user.reg"), "w") as f:
        f.write(INITIAL_HIVE)


class Processes:
    """The processes the test started, ended in reverse order, each by its id."""

    def __init__(self, mark):
        self.mark = mark
        self.started = []

    def start(self, args, env, **kwargs):
        env = dict(env, **{MARK_NAME: self.mark})
        process = subprocess.Popen(args, env=env, start_new_session=True, **kwargs)
        self.started.append(process)
        return process

    def marked(self):
        """Ids of the live processes that carry the mark: those started and what they spawned."""
        found = []
        needle = f"{MARK_NAME}={self.mark}".encode()
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as f:
                    if needle in f.read().split(b"\0"):
                        found.append(int(entry))
            except OSError:
                continue
        return found

    def end_all(self):
        """Ends every process the test started or caused; returns the ids of any that would not end."""
        spawned = set(self.marked())
        for process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self.started):
            try:
                process.wait(timeout=3)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        spawned -= {process.pid for process in self.started}
        for attempt in range(60):
            reap_orphans()
            left = [pid for pid in spawned if alive(pid)]
            if not left:
                return []
            for pid in left:
                try:
                    os.kill(pid, signal.SIGTERM if attempt < 20 else signal.SIGKILL)
                except ProcessLookupError:
                    pass
            time.sleep(0.05)
        return [pid for pid in spawned if alive(pid)]


def adopt_orphans():
    """Processes that the started ones leave behind become this process's children, so that the
    test can end and reap them instead of leaving them to the system."""
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)


def reap_orphans():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def alive(pid):
    """True while the process runs; a process that has ended but is not yet reaped is not."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] not in ("Z", "X")
    except OSError:
        return False


def read_line(fd, timeout):
    """One line written by a child into the pipe `fd`, or None when nothing came in time."""
    import select

    data = b""
    end = time.monotonic() + timeout
    while not data.endswith(b"\n"):
        left = end - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            return None
        chunk = os.read(fd, 256)
        if not chunk:
            return None
        data += chunk
    return data.decode().strip()


def start_display(processes, env):
    xvfb = shutil.which("Xvfb")
    if xvfb is None:
        return None
    read_end, write_end = os.pipe()
    processes.start(
        [xvfb, "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0", "640x480x24"],
        env,
        pass_fds=(write_end,),
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    os.close(write_end)
    number = read_line(read_end, 10)
    os.close(read_end)
    return f":{number}" if number else None


# A session bus that starts no service by itself: everything on it is started by the test.
SESSION_BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def start_session_bus(processes, env, folder):
    config = os.path.join(folder, "session.conf")
    with open(config, "w") as f:
        f.write(SESSION_BUS_CONFIG.format(folder=folder))
    read_end, write_end = os.pipe()
    processes.start(
        ["dbus-daemon", f"--config-file={config}", "--nofork", f"--print-address={write_end}"],
        env,
        pass_fds=(write_end,),
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    os.close(write_end)
    address = read_line(read_end, 10)
    os.close(read_end)
    if not address:
        raise Failure("the D-Bus session bus did not start")
    return address


def start_accessibility_bus(processes, env):
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if not os.path.exists(launcher):
        raise Failure("at-spi2-core is not installed (scripts/setup test installs it)")
    processes.start([launcher, "--launch-immediately"], env, stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
    # Ready once the launcher answers with the address of the accessibility bus.
    end = time.monotonic() + 10
    while time.monotonic() < end:
        reply = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"],
            env=env, capture_output=True, text=True)
        if reply.returncode == 0 and "unix:" in reply.stdout:
            return
        time.sleep(0.05)
    raise Failure("the accessibility bus did not start")


def wait_for(what, probe, timeout=DEADLINE_S):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise Failure(f"gave up waiting for {what}")


def walk(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from walk(child)


def find_application(pyatspi, pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def frame_named(app, name):
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name == name:
            return child
    return None


def press(accessible, action_name):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(names):
        if name.lower() == action_name:
            if not action.doAction(i):
                raise Failure(f"{accessible.name!r} refused its {action_name} action")
            return
    raise Failure(f"{accessible.name!r} offers no {action_name} action, only {names}")


def offered(accessible, action_name):
    action = accessible.queryAction()
    return [i for i in range(action.nActions) if action.getName(i).lower() == action_name]


def meddle(pyatspi, window, text):
    """Everything a screen reader can do to the window's commands and controls at once; returns
    what the window said of itself meanwhile."""
    by_name = {node.name: node for node in walk(window) if node.getRole() in (
        pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX)}
    busy = window.getState().contains(pyatspi.STATE_BUSY)
    for name in ("Change", "Help / About", "Browse for image"):
        press(by_name[name], "press")
    for name in ("Remove Overview Tab", "Remove Address book Tab"):
        action = by_name[name].queryAction()
        for i in offered(by_name[name], "toggle") + offered(by_name[name], "press"):
            action.doAction(i)
    try:
        text.queryEditableText().setTextContents("/elsewhere.gif")
        text.queryEditableText().insertText(0, "X", 1)
    except Exception:
        pass  # a text box that offers no editing refuses it: as good
    return busy


def controls_state(pyatspi, window, text):
    checks = {node.name: node.getState().contains(pyatspi.STATE_CHECKED)
              for node in walk(window) if node.getRole() == pyatspi.ROLE_CHECK_BOX}
    content = text.queryText()
    return checks, content.getText(0, content.characterCount)


def dialogs(pyatspi, app):
    from gi.repository import GLib
    found = []
    for i in range(app.childCount):
        # A box that is closing can go between the count and the question: it is no longer open.
        try:
            child = app.getChildAtIndex(i)
            if child is not None and child.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
                found.append(child)
        except GLib.GError:
            continue
    return found


def dialog_named(pyatspi, app, name):
    from gi.repository import GLib
    for box in dialogs(pyatspi, app):
        try:
            if box.name == name:
                return box
        except GLib.GError:
            continue  # closed since it was counted
    return None


def close_box(box):
    ok = next((node for node in walk(box)
               if node.getRoleName() == "push button" and node.name == "OK"), None)
    if ok is None:
        raise Failure(f"the box {box.name!r} has no OK button")
    press(ok, "press")


def check_one_command_at_a_time(pyatspi, app, window, hive):
    """Behind the open help box and during a locked-hive wait nothing else starts or changes."""
    text = next(node for node in walk(window) if node.getRole() == pyatspi.ROLE_TEXT)
    text.queryEditableText().setTextContents("C:\\noad.gif")
    before = controls_state(pyatspi, window, text)
    if before[1] != "C:\\noad.gif":
        raise Failure(f"the text box took no text through AT-SPI: {before[1]!r}")

    press(next(node for node in walk(window) if node.name == "Help / About"), "press")
    box = wait_for("the help box", lambda: dialog_named(pyatspi, app, "Help"))
    busy = meddle(pyatspi, window, text)
    time.sleep(0.3)  # past the delay of a check box's animated press
    if not busy:
        raise Failure("behind the open box the window does not say it is busy")
    if [d.name for d in dialogs(pyatspi, app)] != ["Help"]:
        raise Failure("behind the help box a second command opened "
                      f"{[d.name for d in dialogs(pyatspi, app)]}")
    if controls_state(pyatspi, window, text) != before:
        raise Failure(f"behind the help box the controls changed: {before} became "
                      f"{controls_state(pyatspi, window, text)}")
    close_box(box)
    wait_for("the help box to close", lambda: not dialogs(pyatspi, app))
    with open(hive) as f:
        if f.read() != INITIAL_HIVE:
            raise Failure("\"Change\" wrote behind the help box")

    with open(hive) as holder:
        fcntl.flock(holder, fcntl.LOCK_EX)
        press(next(node for node in walk(window) if node.name == "Change"), "press")
        wait_for("the window to say it is busy",
                 lambda: window.getState().contains(pyatspi.STATE_BUSY))
        meddle(pyatspi, window, text)
        time.sleep(0.3)
        if dialogs(pyatspi, app):
            raise Failure("during the wait a second command opened "
                          f"{[d.name for d in dialogs(pyatspi, app)]}")
        if controls_state(pyatspi, window, text) != before:
            raise Failure(f"during the wait the controls changed: {before} became "
                          f"{controls_state(pyatspi, window, text)}")
        fcntl.flock(holder, fcntl.LOCK_UN)
    done = wait_for("the box of the finished change", lambda: dialogs(pyatspi, app))
    texts = [" ".join(node.name for node in walk(d)) for d in done]
    if len(done) != 1 or "Patch Complete!" not in texts[0]:
        raise Failure(f"after the wait the program showed {texts}")
    close_box(done[0])
    wait_for("the box to close", lambda: not dialogs(pyatspi, app))
    time.sleep(0.3)
    if dialogs(pyatspi, app):
        raise Failure("a second command ran after the first")
    if window.getState().contains(pyatspi.STATE_BUSY):
        raise Failure("the window still says it is busy")
    with open(hive) as f:
        if '"Chat Adurl"="C:\\\\noad.gif"' not in f.read():
            raise Failure("the change was not written")


def check_window(pyatspi, pid, hive):
    app = wait_for("the Vornik program on the accessibility bus",
                   lambda: find_application(pyatspi, pid))
    window = wait_for("the window \"Vornik 1.2\"", lambda: frame_named(app, "Vornik 1.2"))
    if window.getRole() != pyatspi.ROLE_FRAME:
        raise Failure(f"the window's role is {window.getRoleName()!r}, not frame")

    controls = [(child.getRoleName(), child.name) for child in
                (window.getChildAtIndex(i) for i in range(window.childCount))]
    if controls != EXPECTED_CONTROLS:
        raise Failure("the window's controls read\n  " + "\n  ".join(map(repr, controls)) +
                      "\ninstead of\n  " + "\n  ".join(map(repr, EXPECTED_CONTROLS)))

    change = [node for node in walk(window)
              if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "Change"]
    if len(change) != 1:
        raise Failure(f"found {len(change)} push buttons named \"Change\"")
    states = change[0].getState()
    for state in (pyatspi.STATE_ENABLED, pyatspi.STATE_FOCUSABLE, pyatspi.STATE_VISIBLE):
        if not states.contains(state):
            raise Failure(f"\"Change\" lacks the state {state}")

    help_button = next(node for node in walk(window) if node.name == "Help / About")
    press(help_button, "press")

    box = wait_for("the help box", lambda: dialog_named(pyatspi, app, "Help"))
    texts = " ".join(node.name for node in walk(box))
    if "noad.gif" not in texts:
        raise Failure(f"the help box does not tell of noad.gif: {texts!r}")
    ok = next((node for node in walk(box)
               if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "OK"), None)
    if ok is None:
        raise Failure("the help box has no OK button")
    press(ok, "press")
    wait_for("the help box to close", lambda: dialog_named(pyatspi, app, "Help") is None)
    check_one_command_at_a_time(pyatspi, app, window, hive)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 1
    program = sys.argv[1]
    adopt_orphans()
    processes = Processes(uuid.uuid4().hex)
    home = tempfile.mkdtemp(prefix="vornik-atspi-")
    runtime = os.path.join(home, "runtime")
    os.mkdir(runtime, 0o700)
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": home,
        "XDG_RUNTIME_DIR": runtime,
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "XDG_DATA_HOME": os.path.join(home, "data"),
        "XDG_CACHE_HOME": os.path.join(home, "cache"),
        "WINEPREFIX": os.path.join(home, "wine"),
        "GSETTINGS_BACKEND": "memory",
        "NO_AT_BRIDGE": "0",
    }
    make_prefix(env["WINEPREFIX"])
    status = 1
    try:
        display = start_display(processes, env)
        if display is None:
            print("SKIPPED: no X display server (Xvfb) could be started", file=sys.stderr)
            return SKIP
        env["DISPLAY"] = display
        env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(processes, env, runtime)
        start_accessibility_bus(processes, env)

        app_env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        program_process = processes.start([program], app_env)

        # The client connects to the same buses; Atspi reads them when it is first used.
        os.environ.update(env)
        import pyatspi

        check_window(pyatspi, program_process.pid, os.path.join(env["WINEPREFIX"], "user.reg"))
        if program_process.poll() is not None:
            raise Failure(f"the program ended with status {program_process.returncode}")
        print("PASSED: the window reads and works through AT-SPI")
        status = 0
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
    finally:
        left = processes.end_all()
        shutil.rmtree(home, ignore_errors=True)
        if left:
            print(f"FAILED: processes left running: {left}", file=sys.stderr)
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
