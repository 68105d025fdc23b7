#!/usr/bin/env python3
"""vrk BASE and the one running copy per user, display and program directory.

  open_catalog.py by-name VRK VRKCLI      the catalog named on the command line is opened and made current,
                                          at start-up and by a copy that is already running
  one-window VRK VRKCLI    a second start on another display, or of another program directory, opens a
                           window of its own; so does one that finds a listener that is not a running copy;
                           the socket folder must be the user's own; a running copy refuses another user
"""
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time


def current_catalog(home):
    try:
        with open(os.path.join(home, "VRK.INI"), encoding="latin-1") as ini:
            for line in ini:
                if line.lower().startswith("currentdb="):
                    return line.split("=", 1)[1].strip()
    except FileNotFoundError:
        pass
    return ""


def wait_for(what, test, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if test():
            return
        time.sleep(0.1)
    sys.exit(f"timed out waiting until {what}")


def sockets_in(folder):
    names = os.listdir(folder) if os.path.isdir(folder) else []
    return sorted(name for name in names if name.startswith("vrk-"))


class Copies:
    """The copies of vrk a test started, ended when it is over."""

    def __init__(self, vrk, runtime):
        self.vrk, self.runtime, self.started = vrk, runtime, []

    def env(self, home, display, **more):
        return dict(os.environ, VRK_HOME=home, XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="offscreen",
                    DISPLAY=display, WAYLAND_DISPLAY="", **more)

    def start(self, home, display, *args, user=None, **more):
        command = [self.vrk, *args]
        if user is not None:
            command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups", *command]
        copy = subprocess.Popen(command, env=self.env(home, display, **more), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.started.append(copy)
        return copy

    def listening(self, home, display, *args, folder=None, **more):
        """Starts a copy and waits until its socket is there; returns the copy and its socket's path."""
        folder = folder or self.runtime
        before = set(sockets_in(folder))
        copy = self.start(home, display, *args, **more)
        wait_for("the copy listens", lambda: set(sockets_in(folder)) - before or copy.poll() is not None)
        assert copy.poll() is None, f"the copy ended with {copy.returncode}"
        time.sleep(1)  # the copy finishes starting
        return copy, os.path.join(folder, (set(sockets_in(folder)) - before).pop())

    def own_window(self, home, display, catalog, what, listens=True):
        """A start that must open a window of its own: it keeps running, listens on a socket of its own
        (unless the name is taken) and selects `catalog` (unless a catalog another copy holds keeps it
        waiting at a notice first)."""
        before = set(sockets_in(self.runtime))
        copy = self.start(home, display, catalog)
        if listens:
            wait_for(f"{what}: the start listens", lambda: set(sockets_in(self.runtime)) - before)
        else:
            wait_for(f"{what}: the start selects its catalog", lambda: current_catalog(home) == catalog)
        time.sleep(2)
        assert copy.poll() is None, f"{what}: the start ended ({copy.returncode}) instead of showing a window"

    def end(self):
        for copy in self.started:
            if copy.poll() is None:
                copy.kill()
            copy.wait(timeout=30)


def make_catalogs(vrkcli, home, *names):
    for name in names:
        subprocess.run([vrkcli, "new", os.path.join(home, name), "Title:30:key"], check=True, capture_output=True,
                       env=dict(os.environ, VRK_HOME=home), timeout=60)


def by_name(vrk, vrkcli, work):
    home = os.path.join(work, "home")
    os.mkdir(home)
    subprocess.run([vrkcli, "demo", os.path.join(home, "RECORDS")], check=True, capture_output=True,
                   env=dict(os.environ, VRK_HOME=home), timeout=60)
    make_catalogs(vrkcli, home, "BOOKS", "STAMPS")
    assert current_catalog(home) == "RECORDS", current_catalog(home)
    copies = Copies(vrk, os.path.join(work, "runtime"))
    os.mkdir(copies.runtime, 0o700)

    # At start-up, by the setup file as a file manager passes it, from another directory.
    picture = os.path.join(home, "books.png")
    subprocess.run([vrk, "--screenshot", picture, "BOOKS.SET"], check=True, env=copies.env(home, ":70"), cwd=home,
                   timeout=60, capture_output=True)
    assert current_catalog(home) == os.path.join(home, "BOOKS"), current_catalog(home)

    # A second start hands its catalog to the running copy and ends.
    try:
        first, _ = copies.listening(home, ":70")
        second = subprocess.run([vrk, os.path.join(home, "STAMPS")], env=copies.env(home, ":70"), timeout=30,
                                capture_output=True)
        assert second.returncode == 0, second
        wait_for("the running copy selects STAMPS", lambda: current_catalog(home) == os.path.join(home, "STAMPS"))
        assert first.poll() is None, "the first copy ended"
    finally:
        copies.end()


def one_window(vrk, vrkcli, work):
    homes = [os.path.join(work, name) for name in ("one", "two", "three")]
    for home in homes:
        os.mkdir(home)
        make_catalogs(vrkcli, home, "BOOKS", "STAMPS")
    one, two, three = homes
    copies = Copies(vrk, os.path.join(work, "runtime"))
    os.mkdir(copies.runtime, 0o700)
    try:
        copies.listening(one, ":71", os.path.join(one, "BOOKS"))
        # Another display, another program directory: each its own window and socket.
        copies.own_window(one, ":72", os.path.join(one, "STAMPS"), "another display")
        copies.own_window(two, ":71", os.path.join(two, "BOOKS"), "another program directory")
        wait_for("the copy of the other directory selects its catalog",
                 lambda: current_catalog(two) == os.path.join(two, "BOOKS"))
        assert current_catalog(one) == os.path.join(one, "BOOKS"), current_catalog(one)
        assert len(sockets_in(copies.runtime)) == 3, sockets_in(copies.runtime)

        # Something else listens on the name: the start opens its own window all the same.
        copy, path = copies.listening(three, ":73")
        copy.send_signal(signal.SIGKILL)
        copy.wait()
        os.remove(path)
        impostor = socket.socket(socket.AF_UNIX)
        impostor.bind(path)
        impostor.listen()
        copies.own_window(three, ":73", os.path.join(three, "BOOKS"), "a listener that is not vrk", listens=False)
        impostor.close()
    finally:
        copies.end()

    # A socket folder that others may enter is not used: the user's own in the temporary folder is.
    shared, temporary = os.path.join(work, "shared"), os.path.join(work, "tmp")
    os.mkdir(shared)
    os.chmod(shared, 0o777)
    os.mkdir(temporary)
    copies = Copies(vrk, shared)
    try:
        own = os.path.join(temporary, f"vrk-{os.getuid()}")
        copies.listening(one, ":74", folder=own, TMPDIR=temporary)
        assert sockets_in(shared) == [], "a folder others may enter holds the socket"
        assert os.stat(own).st_mode & 0o777 == 0o700, oct(os.stat(own).st_mode)
    finally:
        copies.end()

    if os.getuid() != 0:
        print("one-window: another user's connection needs root, to run vrk as another user")
        return
    # The copy of another user (nobody) refuses this user's request and selects nothing.
    nobody = 65534
    theirs, runtime = os.path.join(work, "theirs"), os.path.join(work, "their-runtime")
    for folder in (theirs, runtime):
        os.mkdir(folder, 0o700)
    make_catalogs(vrkcli, theirs, "BOOKS")
    for folder in (theirs, runtime):
        for root, names, files in os.walk(folder):
            for name in [root, *(os.path.join(root, n) for n in names + files)]:
                os.chown(name, nobody, nobody)
    copies = Copies(vrk, runtime)
    try:
        copy, path = copies.listening(theirs, ":75", user=nobody, HOME=theirs)
        before = current_catalog(theirs)
        with socket.socket(socket.AF_UNIX) as stranger:
            stranger.connect(path)
            stranger.sendall(b"raise\n" + os.path.join(theirs, "BOOKS").encode() + b"\0")
            stranger.settimeout(5)
            try:
                answer = stranger.recv(100)
            except ConnectionResetError:
                answer = b""
            assert answer == b"", "the copy answered another user"
        time.sleep(1)
        assert current_catalog(theirs) == before, "the copy selected another user's catalog"
        assert copy.poll() is None
    finally:
        copies.end()


def main():
    mode, vrk, vrkcli = sys.argv[1], sys.argv[2], sys.argv[3]
    with tempfile.TemporaryDirectory() as work:
        os.chmod(work, 0o755)  # another user's copy reaches its folders inside
        {"by-name": by_name, "one-window": one_window}[mode](vrk, vrkcli, work)


if __name__ == "__main__":
    main()
