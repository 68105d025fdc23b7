#!/usr/bin/env python3
"""Every vrkcli command on a full or broken disk: strace makes each fdatasync fail with EIO and each
pwrite64 and write fail with ENOSPC, one call at a time, and every run that the failure stopped must
exit non-zero with a line on stderr that says what failed; none may report success. vrkback, beside
vrkcli, has each write of its archive refused: it says so, exits 1 and leaves no partial archive.

  injected_faults.py VRKCLI [--summary]   prints, per family, the points tried and how they ended
"""
import os
import shutil
import subprocess
import sys
import tempfile

from whole_program import run

# The File Error box's texts: vrkcli's line names the file before them.
FILE_ERRORS = ("The disk is full.", "That device appears to be unavailable.")

FAMILIES = [("fdatasync", "EIO"), ("pwrite64", "ENOSPC"), ("write", "ENOSPC")]  # write: of stdout

# {base} is the demo catalog REC, {other} a second catalog, {dir} their directory.
COMMANDS = [
    ["add", "{base}", "Title=Added", "Artist=Someone"],
    ["info", "{base}"],
    ["dump", "{base}"],
    ["walk", "{base}", "Title"],
    ["delete", "{base}", "2"],
    ["undelete", "{base}", "2"],
    ["reindex", "{base}"],
    ["totals", "{base}"],
    ["export-dbf", "{base}", "{dir}/out.dbf"],
    ["export-csv", "{base}", "{dir}/out.csv"],
    ["export-xlsx", "{base}", "{dir}/out.xlsx"],
    ["import-csv", "{dir}/in.csv", "{dir}/NEWC"],
    ["catalogs", "{dir}"],
    ["edit-layout", "{base}", "Title:40:key", "Artist:30:key", "Label:20"],
    ["rename", "{base}", "NEWNAME"],
    ["remove", "{other}", "--yes"],
    ["reserve", "{base}", "5"],
    ["sort", "{base}", "Title"],
    ["unsort", "{base}"],
    ["copy-entries", "{base}", "{other}"],
    ["eliminate", "{base}", "--yes"],
    ["set-code", "600"],
    ["memo", "{base}", "1", "--set", "a memo"],
    ["media", "{base}", "1", "--picture", "/tmp/p.bmp"],
    ["macros", "{base}", "1=one"],
    ["format", "new", "LIST2", "1@1:1:20"],
    ["settings", "{base}", "PrintMemos=1"],
    ["replace", "{base}", "a", "b"],
    ["search", "{base}", "Title=a"],
    ["search", "{base}", "--ascii", "{dir}/out.txt"],
    ["search", "{base}", "--html", "{dir}/out.html"],
    ["search", "{base}", "--dbf", "{dir}/found.dbf"],
    ["search", "{base}", "--pdf", "{dir}/out.pdf"],
    ["list-range", "{base}", "1", "5"],
    ["list-alpha", "{base}", "Title"],
    ["global-search", "{base}", "a"],
    ["demo", "{dir}/DEMO2"],
]


def prepare(vrkcli, template):
    os.makedirs(template)
    env = dict(os.environ, VRK_HOME=template)
    base = os.path.join(template, "REC")
    subprocess.run([vrkcli, "demo", base], env=env, capture_output=True, check=True)
    subprocess.run([vrkcli, "new", os.path.join(template, "OTHER"), "Title:30:key", "Artist:20"], env=env,
                   capture_output=True, check=True)
    # Memos that do not compress: vrkback writes OTHER's archive in many pieces.
    with open(os.path.join(template, "OTHER.MEM"), "wb") as memos:
        memos.write(os.urandom(1420 * 400))
    with open(os.path.join(template, "in.csv"), "w") as csv:
        csv.write("Name,Year\r\n" + "".join(f"n{i},{1900 + i}\r\n" for i in range(50)))


def command_line(command, trial):
    return [part.format(base=os.path.join(trial, "REC"), other=os.path.join(trial, "OTHER"), dir=trial)
            for part in command]


def traced(vrkcli, trial, command, strace_args):
    env = dict(os.environ, VRK_HOME=trial, QT_QPA_PLATFORM="offscreen")
    return subprocess.run(["strace", "-f", "-qq", *strace_args, vrkcli, *command_line(command, trial)],
                          capture_output=True, text=True, env=env, cwd=trial)


def calls(program, template, trial, command, syscall):
    """The numbers of the calls to fail: every one, but of write only those to stdout and the trial's
    files (a message that cannot reach stderr cannot be said; Qt's caches are not the program's)."""
    shutil.rmtree(trial, ignore_errors=True)
    shutil.copytree(template, trial)
    with tempfile.NamedTemporaryFile() as log:
        traced(program, trial, command, ["-y", "-e", f"trace={syscall}", "-o", log.name])
        made = [line for line in open(log.name) if f"{syscall}(" in line and "resumed" not in line]
    files = [line.split("(", 1)[1].split(",", 1)[0] for line in made]  # "5</trial/out.pdf>"
    return [n for n, file in enumerate(files, 1) if syscall != "write" or file.startswith("1<") or f"<{trial}/" in file]


def backups(vrkback, template, trial, failures):
    """vrkback on a full disk: every write of the archive refused in turn."""
    command = ["{other}"]
    tried = refused = 0
    for at in calls(vrkback, template, trial, command, "pwrite64"):
        shutil.rmtree(trial)
        shutil.copytree(template, trial)
        done = traced(vrkback, trial, command, ["-o", "/dev/null", "-e", f"inject=pwrite64:error=ENOSPC:when={at}"])
        tried += 1
        left = os.listdir(os.path.join(trial, "backup")) if os.path.isdir(os.path.join(trial, "backup")) else []
        what = f"vrkback: pwrite64 {at} failed with ENOSPC"
        if done.returncode != 1 or "cannot write" not in done.stderr or "No space left on device" not in done.stderr:
            failures.append(f"{what}: exit {done.returncode}, {done.stderr.strip()!r}")
        elif left:
            failures.append(f"{what}: {left} left behind")
        else:
            refused += 1
    print(f"vrkback pwrite64 ENOSPC: {tried} points, {refused} failed with a message, {tried - refused} did not")


def main():
    vrkcli = os.path.abspath(sys.argv[1])
    summary = "--summary" in sys.argv
    failures = []
    with tempfile.TemporaryDirectory() as work:
        template, trial = os.path.join(work, "template"), os.path.join(work, "trial")
        prepare(vrkcli, template)
        for syscall, error in FAMILIES:
            tried = refused = 0
            for command in COMMANDS:
                for at in calls(vrkcli, template, trial, command, syscall):
                    shutil.rmtree(trial)
                    shutil.copytree(template, trial)
                    done = traced(vrkcli, trial, command,
                                  ["-o", "/dev/null", "-e", f"inject={syscall}:error={error}:when={at}"])
                    tried += 1
                    what = f"{' '.join(command)}: {syscall} {at} failed with {error}"
                    if done.returncode == 0:
                        failures.append(f"{what}: exit 0")
                    elif not done.stderr.strip():
                        failures.append(f"{what}: exit {done.returncode} without a message")
                    elif any(line.startswith(FILE_ERRORS) for line in done.stderr.splitlines()):
                        failures.append(f"{what}: the message names no file: {done.stderr.strip()!r}")
                    else:
                        refused += 1
            print(f"{syscall} {error}: {tried} points, {refused} failed with a message, "
                  f"{tried - refused} did not")
        backups(os.path.join(os.path.dirname(vrkcli), "vrkback"), template, trial, failures)
    for failure in failures:
        print(failure)
    sys.exit(0 if summary or not failures else 1)


if __name__ == "__main__":
    main()
