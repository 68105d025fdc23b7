#!/usr/bin/env python3
"""vrkcli as a whole program, the way users run it.

  crash VRKCLI       each changing command is killed (SIGKILL, injected by strace) at each of its writes
                     in turn; afterwards no saved entry is lost and every key index lists every active
                     entry exactly once
  writers VRKCLI     two programs adding entries to one catalog at the same time lose none of them
  read-only VRKCLI   a catalog whose files may not be written is read, and a change of it is refused
  readers VRKCLI     walks of an index beside a loop of adds never fail
  backups VRKCLI     two backups started in the same second both make an archive of their own, and a
                     .part file a killed backup left is removed
"""
import os
import shutil
import subprocess
import sys
import tempfile

KEYS = ["Title", "Artist", "Year"]
SKIPPED = 77  # the exit status CTest counts as a skipped test


def run(vrkcli, *args, check=False, user=None):
    command = [vrkcli, *args]
    if user is not None:
        command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups", *command]
    done = subprocess.run(command, capture_output=True, text=True)
    if check and done.returncode != 0:
        sys.exit(f"{' '.join(args)} failed ({done.returncode}): {done.stderr}")
    return done


def entries(vrkcli, base):
    """Entry number -> (status, values) as dump prints them."""
    dump = run(vrkcli, "dump", base, check=True).stdout
    result = {}
    for line in dump.splitlines():
        number, status, *values = line.split("\t")
        result[int(number)] = (status, values)
    return result


def check_indexes(vrkcli, base, what, keys=KEYS):
    catalog = entries(vrkcli, base)
    for field in keys:
        walk = run(vrkcli, "walk", base, field)
        if walk.returncode != 0:
            sys.exit(f"{what}: walk {field} failed: {walk.stderr}")
        walked = [int(line.split("\t")[0]) for line in walk.stdout.splitlines()]
        for number, (status, _) in catalog.items():
            times = walked.count(number)
            if (status == "active" and times != 1) or times > 1:
                sys.exit(f"{what}: {status} entry {number} is {times} times in the index of {field}")
        if any(number not in catalog for number in walked):
            sys.exit(f"{what}: the index of {field} names entries the catalog does not have")
    return catalog


def make_catalog(vrkcli, base, count):
    run(vrkcli, "new", base, "Title:24:key", "Artist:16:key", "Year:4:key", "Notes:10", check=True)
    for n in range(1, count + 1):
        run(vrkcli, "add", base, f"Title=Title {n * 7 % 13}", f"Artist=Artist {n % 5}", f"Year={1950 + n}",
            check=True)
    run(vrkcli, "delete", base, "3", check=True)


def writes_of(vrkcli, command):
    with tempfile.NamedTemporaryFile() as log:
        subprocess.run(["strace", "-f", "-qq", "-e", "trace=pwrite64", "-o", log.name, vrkcli, *command],
                       capture_output=True, check=False)
        return sum(1 for line in open(log.name) if "pwrite64(" in line)


def crash(vrkcli, work):
    template = os.path.join(work, "template")
    os.mkdir(template)
    make_catalog(vrkcli, os.path.join(template, "CAT"), 30)
    before = entries(vrkcli, os.path.join(template, "CAT"))
    commands = [["add", "{base}", "Title=Added", "Artist=Someone", "Year=2001"],
                ["add", "{base}", "Title=Zzz", "Notes=n"],
                ["delete", "{base}", "5"],
                ["delete", "{base}", "3"],  # a deleted entry: saved again, as active
                ["undelete", "{base}", "3"],
                ["reindex", "{base}"]]
    points = 0
    for command in commands:
        trial = os.path.join(work, "trial")
        shutil.rmtree(trial, ignore_errors=True)
        shutil.copytree(template, trial)
        writes = writes_of(vrkcli, [part.format(base=os.path.join(trial, "CAT")) for part in command])
        for at in range(1, writes + 1):
            shutil.rmtree(trial)
            shutil.copytree(template, trial)
            base = os.path.join(trial, "CAT")
            killed = subprocess.run(["strace", "-f", "-qq", "-o", "/dev/null", "-e",
                                     f"inject=pwrite64:signal=SIGKILL:when={at}", vrkcli,
                                     *[part.format(base=base) for part in command]], capture_output=True)
            what = f"{' '.join(command[:1] + command[2:])} killed at write {at} of {writes}"
            if killed.returncode == 0:
                sys.exit(f"{what}: the command was not killed")
            after = check_indexes(vrkcli, base, what)
            for number, entry in before.items():
                if number not in after:
                    sys.exit(f"{what}: entry {number} is lost")
                if number not in (3, 5) and after[number] != entry:
                    sys.exit(f"{what}: entry {number} changed: {after[number]}")
            if len(after) > len(before) + 1:
                sys.exit(f"{what}: {len(after)} entries after it")
            run(vrkcli, "add", base, "Title=Later", check=True)
            check_indexes(vrkcli, base, what + ", then one more entry")
            points += 1
    print(f"{points} kill points: no entry lost, no index wrong")


def writers(vrkcli, work):
    base = os.path.join(work, "CAT")
    run(vrkcli, "new", base, "Title:20:key", "Writer:2", check=True)
    each = 40
    script = (f'for i in $(seq {each}); do "{vrkcli}" add "{base}" Title=W$1-$i Writer=$1 >/dev/null || '
              f'echo failed; done')
    loops = [subprocess.Popen(["bash", "-c", script, "loop", str(w)], stdout=subprocess.PIPE, text=True)
             for w in (1, 2)]
    failures = sum(loop.communicate()[0].count("failed") for loop in loops)
    catalog = check_indexes(vrkcli, base, "two writers", keys=["Title"])
    if len(catalog) != 2 * each - failures:
        sys.exit(f"two writers: {2 * each - failures} adds succeeded, {len(catalog)} entries saved")
    titles = sorted(values[0] for _, values in catalog.values())
    if len(set(titles)) != len(titles):
        sys.exit("two writers: an entry was saved twice")
    print(f"two writers: {len(catalog)} entries saved, {failures} refused, none lost")


def read_only(vrkcli, work):
    if os.geteuid() != 0:
        print("read-only: needs root, to make the catalog another user's")
        sys.exit(SKIPPED)
    os.chmod(work, 0o755)
    base = os.path.join(work, "CAT")
    make_catalog(vrkcli, base, 5)
    for name in os.listdir(work):
        os.chmod(os.path.join(work, name), 0o444)
    nobody = "65534"
    for command in (["info", base], ["dump", base], ["walk", base, "Title"], ["totals", base]):
        done = run(vrkcli, *command, user=nobody)
        if done.returncode != 0:
            sys.exit(f"read-only: {command[0]} failed: {done.stderr}")
    if run(vrkcli, "walk", base, "Title", user=nobody).stdout.count("\n") != 4:
        sys.exit("read-only: walk did not list the four active entries")
    refused = run(vrkcli, "add", base, "Title=x", user=nobody)
    if refused.returncode != 1 or "read-only" not in refused.stderr:
        sys.exit(f"read-only: add was not refused clearly ({refused.returncode}): {refused.stderr}")
    print("read-only: read, and a change refused")


def readers(vrkcli, work):
    base = os.path.join(work, "CAT")
    run(vrkcli, "new", base, "Title:20:key", "Notes:8", check=True)
    run(vrkcli, "add", base, "Title=First", check=True)
    adds = 150
    script = f'for i in $(seq {adds}); do "{vrkcli}" add "{base}" Title=T$i >/dev/null || echo failed; done'
    loop = subprocess.Popen(["bash", "-c", script], stdout=subprocess.PIPE, text=True)
    walks = 0
    while loop.poll() is None:
        walk = run(vrkcli, "walk", base, "Title")
        if walk.returncode != 0:
            sys.exit(f"readers: walk {walks + 1} beside the adds failed: {walk.stderr}")
        walks += 1
    if loop.communicate()[0].count("failed"):
        sys.exit("readers: an add beside the walks failed")
    if len(check_indexes(vrkcli, base, "readers", keys=["Title"])) != adds + 1:
        sys.exit("readers: entries are missing")
    print(f"readers: {walks} walks beside {adds} adds, none failed")
    # Adds beside renames to and fro: each add is saved, or says clearly why not.
    other = os.path.join(work, "NEW")
    renames = 20
    script = (f'for i in $(seq {renames}); do "{vrkcli}" rename "{base}" NEW >/dev/null || echo failed; '
              f'"{vrkcli}" rename "{other}" CAT >/dev/null || echo failed; done')
    loop = subprocess.Popen(["bash", "-c", script], stdout=subprocess.PIPE, text=True)
    saved = refused = 0
    while loop.poll() is None:
        add = run(vrkcli, "add", base, "Title=Beside")
        if add.returncode == 0:
            saved += 1
        elif "read-only" in add.stderr or not any(why in add.stderr for why in ("renamed to", "renamed or removed", "no catalog", "in use")):
            sys.exit(f"readers: an add beside a rename failed ({add.returncode}): {add.stderr!r}")
        else:
            refused += 1
    failed = loop.communicate()[0].count("failed")
    if len(check_indexes(vrkcli, base, "renames", keys=["Title"])) != adds + 1 + saved:
        sys.exit("readers: an add beside a rename was lost")
    print(f"renames: {2 * renames - failed} renames beside {saved} adds saved and {refused} refused clearly")


def backups(vrkcli, work):
    base = os.path.join(work, "CAT")
    make_catalog(vrkcli, base, 3)
    folder = os.path.join(work, "backup")
    os.mkdir(folder)
    stale = os.path.join(folder, "CAT-20000101-000000-killed.part")
    open(stale, "w").write("half an archive")
    os.utime(stale, (0, 0))
    rounds = 5
    for _ in range(rounds):
        pair = [subprocess.Popen([vrkcli, "backup", base], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 text=True) for _ in range(2)]
        for backup in pair:
            out, err = backup.communicate()
            if backup.returncode != 0:
                sys.exit(f"backups: a backup beside another failed ({backup.returncode}): {err}")
    names = os.listdir(folder)
    archives = [name for name in names if name.endswith(".tar.gz")]
    if len(archives) != 2 * rounds or any(name.endswith(".part") for name in names):
        sys.exit(f"backups: {len(archives)} archives of {2 * rounds} backups, and {names}")
    print(f"backups: {2 * rounds} backups in pairs, {len(archives)} archives, the killed one's .part removed")


if __name__ == "__main__":
    mode, vrkcli = sys.argv[1], os.path.abspath(sys.argv[2])
    with tempfile.TemporaryDirectory() as work:
        modes = {"crash": crash, "writers": writers, "read-only": read_only, "readers": readers, "backups": backups}
        modes[mode](vrkcli, work)
