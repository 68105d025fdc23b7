#!/usr/bin/env python3
"""vrkcli's progress line: drawn on a terminal and cleared when the work is done; on a file, nothing.

  terminal_progress.py VRKCLI
"""
import os
import pty
import re
import subprocess
import sys
import tempfile


def run_on_terminal(command, env):
    """Runs the command with stderr on a new terminal; its exit status and what the terminal showed."""
    main, side = pty.openpty()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=side, env=env)
    os.close(side)
    shown = b""
    while True:
        try:
            chunk = os.read(main, 4096)
        except OSError:  # the program ended and closed the terminal
            break
        if not chunk:
            break
        shown += chunk
    os.close(main)
    return process.wait(), shown.decode()


def main():
    vrkcli = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, VRK_HOME=work)
        base = os.path.join(work, "RECORDS")
        subprocess.run([vrkcli, "demo", base], check=True, capture_output=True, env=env)

        status, shown = run_on_terminal([vrkcli, "reindex", base], env)
        assert status == 0, (status, shown)
        assert re.search(r"\[#*-*\] +\d+%  \d+ entries/s", shown), repr(shown)
        assert "100%" in shown, repr(shown)
        # The last thing on the terminal clears the progress line.
        assert shown.endswith("\r\x1b[K"), repr(shown[-40:])

        on_file = subprocess.run([vrkcli, "reindex", base], capture_output=True, text=True, env=env)
        assert on_file.returncode == 0 and on_file.stderr == "", repr(on_file.stderr)


if __name__ == "__main__":
    main()
