#!/usr/bin/python3
"""scripts/run as a user runs it: from a copy of the repository, as the unprivileged user
"nobody", once through a real sudo (root -> nobody) and once the way a user's own
"sudo scripts/run" reaches it (nobody -> root: a process named sudo whose real user is nobody and
whose environment is the user's, starting the script as root with an environment reset as sudo
resets it). A stand-in for cmake records who builds and leaves a stand-in program that records
who runs it, where, with which arguments and environment. Then a build tree left owned by root
must be reported with the command that gives it back.

Usage: run_as_caller_test.py <source folder>
Exit status 0 passed, 1 failed, 77 skipped (not root, no sudo, no user "nobody").
"""
import ctypes
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

SKIP = 77

FAKE_CMAKE = """#!/bin/bash
echo "$(id -un) $PWD $*" >> "$VORNIK_RUN_TEST_OUT/cmake.log"
case " $* " in *" --build "*)
    mkdir -p build/default/app
    cat > build/default/app/vornik <<'PROGRAM'
#!/bin/bash
{
    echo "user=$(id -un)"
    echo "cwd=$PWD"
    printf 'arg=%s\\n' "$@"
    for name in WINEPREFIX DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR XDG_CONFIG_HOME HOME; do
        echo "$name=${!name-<unset>}"
    done
} > "$VORNIK_RUN_TEST_OUT/program.report"
PROGRAM
    chmod +x build/default/app/vornik ;;
esac
"""

# What the user's own "sudo scripts/run ARGS" does: sudo runs with the user as its real user and
# the user's environment, and starts the command as root with a reset environment.
FAKE_SUDO = r"""
import ctypes, os, sys
uid, gid, script = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
ctypes.CDLL(None).prctl(15, b"sudo", 0, 0, 0)  # PR_SET_NAME: seen as sudo in /proc
os.setresgid(gid, 0, 0)
os.setresuid(uid, 0, 0)
reset = {
    "PATH": "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin",
    "HOME": "/root", "USER": "root", "LOGNAME": "root", "SHELL": "/bin/bash",
    "MAIL": "/var/mail/root", "SUDO_USER": "nobody", "SUDO_UID": str(uid),
    "SUDO_GID": str(gid), "SUDO_COMMAND": script,
    # Set on sudo's command line: "sudo XDG_CONFIG_HOME=... scripts/run".
    "XDG_CONFIG_HOME": os.environ["VORNIK_RUN_TEST_ON_SUDO_LINE"],
}
child = os.fork()
if child == 0:
    os.setresgid(0, 0, 0)
    os.setresuid(0, 0, 0)
    os.execve(script, [script] + sys.argv[4:], reset)
_, status = os.waitpid(child, 0)
sys.exit(os.waitstatus_to_exitcode(status))
"""


class Failure(Exception):
    pass


def report(out):
    lines = open(os.path.join(out, "program.report")).read().splitlines()
    values = {}
    args = []
    for line in lines:
        name, _, value = line.partition("=")
        if name == "arg":
            args.append(value)
        else:
            values[name] = value
    return values, args


def expect(what, got, wanted):
    if got != wanted:
        raise Failure(f"{what}: {got!r} instead of {wanted!r}")


def not_owned_by(folder, uid):
    found = []
    for base, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(base, name)
            if os.lstat(path).st_uid != uid:
                found.append(path)
    return found


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kwargs)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 1
    source = sys.argv[1]
    if os.geteuid() != 0:
        print("SKIPPED: going from one user to another needs root")
        return SKIP
    sudo = shutil.which("sudo")
    if sudo is None:
        print("SKIPPED: no sudo (scripts/setup test installs it)")
        return SKIP
    try:
        nobody = pwd.getpwnam("nobody")
    except KeyError:
        print("SKIPPED: no user \"nobody\"")
        return SKIP
    uid, gid = nobody.pw_uid, nobody.pw_gid

    work = tempfile.mkdtemp(prefix="vornik-run-test-")
    try:
        os.chmod(work, 0o755)
        repo = os.path.join(work, "repo")
        os.mkdir(repo)
        shutil.copytree(os.path.join(source, "scripts"), os.path.join(repo, "scripts"))
        for name in ("CMakePresets.json", "CMakeLists.txt"):
            shutil.copy(os.path.join(source, name), repo)
        shim = os.path.join(work, "shim")
        os.mkdir(shim)
        with open(os.path.join(shim, "cmake"), "w") as f:
            f.write(FAKE_CMAKE)
        os.chmod(os.path.join(shim, "cmake"), 0o755)
        out = os.path.join(work, "out")
        caller = os.path.join(work, "caller")  # where the user stands
        for folder in (out, caller):
            os.mkdir(folder)
        for base, dirs, files in os.walk(work):
            for name in dirs + files:
                os.lchown(os.path.join(base, name), uid, gid)
        os.chown(work, 0, 0)
        script = os.path.join(repo, "scripts", "run")
        user_env = {
            "PATH": f"{shim}:/usr/bin:/bin",
            "HOME": os.path.join(work, "home"),
            "WINEPREFIX": "games/messenger prefix",
            "WAYLAND_DISPLAY": "wayland-7",
            "XDG_RUNTIME_DIR": os.path.join(work, "runtime"),
            "VORNIK_RUN_TEST_OUT": out,
        }
        program_args = ["--prefix", "relative folder/pfx", "--version"]

        def check(how, result, builds_before, **also):
            if result.returncode != 0:
                raise Failure(f"{how} failed ({result.returncode}): {result.stderr}")
            values, args = report(out)
            expect(f"{how}: the program ran as", values["user"], "nobody")
            expect(f"{how}: it ran in", values["cwd"], caller)
            expect(f"{how}: its arguments", args, program_args)
            for name, wanted in dict(user_env, **also).items():
                if name in values:
                    expect(f"{how}: {name}", values[name], wanted)
            builds = open(os.path.join(out, "cmake.log")).read().splitlines()[builds_before:]
            expect(f"{how}: cmake ran as", [line.split(" ")[0] for line in builds],
                   ["nobody", "nobody"])
            expect(f"{how}: files of the copy not owned by the user", not_owned_by(repo, uid), [])
            os.remove(os.path.join(out, "program.report"))

        # Through a real sudo, from root to the user.
        as_user = [sudo, "-u", "nobody", "env"] + [f"{k}={v}" for k, v in user_env.items()]
        check("sudo -u nobody scripts/run", run(as_user + [script] + program_args, cwd=caller), 0)

        # The user's own "sudo scripts/run": the script goes back to the user, with the user's
        # environment and what was set on sudo's line, before it builds.
        on_sudo_line = os.path.join(work, "config from the sudo line")
        result = run([sys.executable, "-c", FAKE_SUDO, str(uid), str(gid), script] +
                     program_args, cwd=caller,
                     env=dict(user_env, VORNIK_RUN_TEST_ON_SUDO_LINE=on_sudo_line))
        check("sudo scripts/run", result, 2, XDG_CONFIG_HOME=on_sudo_line)

        # A build tree an earlier version left owned by root is reported, with the cure.
        left = os.path.join(repo, "build", "default", "CMakeFiles")
        os.makedirs(left)
        os.chown(os.path.join(repo, "build", "default"), 0, 0)
        os.chown(left, 0, 0)
        result = run(as_user + [script] + program_args, cwd=caller)
        cure = f"sudo chown -R nobody: {repo}/build"
        if result.returncode == 0 or cure not in result.stderr:
            raise Failure(f"a root-owned build/ was not reported with \"{cure}\" "
                          f"(status {result.returncode}): {result.stderr}")
        expect("cmake runs after the report",
               len(open(os.path.join(out, "cmake.log")).read().splitlines()), 4)
        print("PASSED: scripts/run builds and runs as the user who asked, with that user's "
              "environment and paths")
        return 0
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
