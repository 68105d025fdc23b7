#!/usr/bin/env python3
"""vrk BASE: the catalog named on the command line is opened and made current, at start-up and by a
copy that is already running.

  open_catalog.py VRK VRKCLI
"""
import os
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


def main():
    vrk, vrkcli = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as home, tempfile.TemporaryDirectory() as sockets:
        # The running copy is found through a socket in the temporary directory: this test's own.
        env = dict(os.environ, VRK_HOME=home, TMPDIR=sockets, QT_QPA_PLATFORM="offscreen")
        run = lambda *args: subprocess.run(list(args), check=True, capture_output=True, env=env, timeout=60)
        run(vrkcli, "demo", os.path.join(home, "RECORDS"))
        run(vrkcli, "new", os.path.join(home, "BOOKS"), "Title:30:key")
        run(vrkcli, "new", os.path.join(home, "STAMPS"), "Country:20:key")
        assert current_catalog(home) == "RECORDS", current_catalog(home)

        # At start-up, by the setup file as a file manager passes it, from another directory.
        picture = os.path.join(home, "books.png")
        subprocess.run([vrk, "--screenshot", picture, "BOOKS.SET"], check=True, env=env, cwd=home, timeout=60,
                       capture_output=True)
        assert current_catalog(home) == os.path.join(home, "BOOKS"), current_catalog(home)

        # A second start hands its catalog to the running copy and ends.
        first = subprocess.Popen([vrk], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for("the first copy listens", lambda: any(name.startswith("vrk-") for name in os.listdir(sockets)))
            time.sleep(1)  # the first copy finishes starting
            second = subprocess.run([vrk, os.path.join(home, "STAMPS")], env=env, timeout=30, capture_output=True)
            assert second.returncode == 0, second
            wait_for("the running copy selects STAMPS",
                     lambda: current_catalog(home) == os.path.join(home, "STAMPS"))
            assert first.poll() is None, "the first copy ended"
        finally:
            first.terminate()
            first.wait(timeout=30)


if __name__ == "__main__":
    main()
