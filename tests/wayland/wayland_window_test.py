#!/usr/bin/python3
"""The Vornik window in a Wayland session without X.

Starts a real compositor (weston, headless backend) on a socket in a private XDG_RUNTIME_DIR,
then the Vornik program with WAYLAND_DISPLAY alone: no DISPLAY, no QT_QPA_PLATFORM. The client's
own protocol log (WAYLAND_DEBUG) must show the window's whole way onto the screen: a toplevel
titled "Vornik 1.2", configured by the compositor and acknowledged, a buffer at least the window's
size attached and committed to its surface, and the compositor telling that the surface entered
its output. Every process the test starts is ended by its id before it returns.

Usage: wayland_window_test.py <path of the vornik program>
Exit status 0 passed, 1 failed, 77 skipped (weston is not installed).
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
DEADLINE_S = 30.0
TITLE = "Vornik 1.2"


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=DEADLINE_S):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise Failure(f"gave up waiting for {what}")


def shown_window(log):
    """The evidence in a client's WAYLAND_DEBUG log that the toplevel titled TITLE is on screen,
    or None while some of it is missing."""
    surface_of_xdg = dict(re.findall(
        r"get_xdg_surface\(new id xdg_surface@(\d+), wl_surface@(\d+)\)", log))
    xdg_of_toplevel = {top: xdg for xdg, top in re.findall(
        r"xdg_surface@(\d+)\.get_toplevel\(new id xdg_toplevel@(\d+)\)", log)}
    titled = re.findall(r"xdg_toplevel@(\d+)\.set_title\(\"" + re.escape(TITLE) + r"\"\)", log)
    if not titled:
        return None
    xdg = xdg_of_toplevel.get(titled[-1])
    surface = surface_of_xdg.get(xdg)
    if surface is None:
        return None
    min_size = re.findall(rf"xdg_toplevel@{titled[-1]}\.set_min_size\((\d+), (\d+)\)", log)
    buffers = {b: (int(w), int(h)) for b, w, h in re.findall(
        r"create_buffer\(new id wl_buffer@(\d+), \d+, (\d+), (\d+),", log)}
    evidence = {
        "configured": re.search(rf"\bxdg_surface@{xdg}\.configure\((\d+)\)", log),
        "acknowledged": re.search(rf"xdg_surface@{xdg}\.ack_configure\(", log),
        "attached": re.findall(rf"wl_surface@{surface}\.attach\(wl_buffer@(\d+),", log),
        "committed": re.search(rf"wl_surface@{surface}\.commit\(\)", log),
        "entered": re.search(rf"(?<!-> )wl_surface@{surface}\.enter\(wl_output@\d+\)", log),
    }
    if not all(evidence.values()) or not min_size:
        return None
    width, height = map(int, min_size[-1])
    sizes = [buffers[b] for b in evidence["attached"] if b in buffers]
    if not any(w >= width and h >= height for w, h in sizes):
        return None
    return width, height, sizes


def end(process):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 1
    program = sys.argv[1]
    weston_program = shutil.which("weston")
    if weston_program is None:
        print("SKIPPED: weston is not installed (scripts/setup test installs it)")
        return SKIP
    home = tempfile.mkdtemp(prefix="vornik-wayland-")
    runtime = os.path.join(home, "runtime")
    os.mkdir(runtime, 0o700)
    socket = "vornik-test"
    base = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home,
            "XDG_RUNTIME_DIR": runtime, "XDG_CONFIG_HOME": os.path.join(home, "config")}
    weston = program_process = None
    status = 1
    try:
        weston_log = open(os.path.join(home, "weston.log"), "w")
        weston = subprocess.Popen(
            [weston_program, "--backend=headless-backend.so", f"--socket={socket}",
             "--no-config", "--idle-time=0", "--width=800", "--height=600"],
            env=base, stdout=weston_log, stderr=subprocess.STDOUT, start_new_session=True)
        wait_for("the compositor's socket",
                 lambda: os.path.exists(os.path.join(runtime, socket)) or weston.poll() is not None)
        if weston.poll() is not None:
            raise Failure(f"weston ended with status {weston.returncode}: "
                          f"{open(weston_log.name).read()}")

        client_log = os.path.join(home, "client.log")
        with open(client_log, "w") as log:
            program_process = subprocess.Popen(
                [program], env=dict(base, WAYLAND_DISPLAY=socket, WAYLAND_DEBUG="1",
                                    WINEPREFIX=os.path.join(home, "wine")),
                stdout=log, stderr=subprocess.STDOUT)

        def shown():
            if program_process.poll() is not None:
                raise Failure(f"the program ended with status {program_process.returncode}:\n"
                              + "\n".join(line for line in open(client_log).read().splitlines()
                                          if "@" not in line))
            return shown_window(open(client_log).read())

        width, height, sizes = wait_for("the window on the compositor's output", shown)
        print(f"PASSED: the window ({width}x{height}, drawn into {sizes[-1][0]}x{sizes[-1][1]} "
              "with its frame) is on the Wayland compositor's output")
        status = 0
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
    finally:
        end(program_process)
        end(weston)
        if weston is not None:
            # The helpers weston started for its shell are in its session.
            try:
                os.killpg(weston.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        shutil.rmtree(home, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
