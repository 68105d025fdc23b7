#!/usr/bin/env python3
"""CSV files as spreadsheets write them under other settings (semicolons, TABs, vertical bars; code page
1252, Latin-1, UTF-16, a byte-order mark), written by Python's csv module, go through vrkcli import-csv
(the delimiter found, the encoding named) and export-csv in the same dialect, and Python's csv module
reads back every value: decimal commas, delimiters and quotes in values, formulas guarded with a
leading "'", deleted entries.

  csv_dialects.py VRKCLI
"""
import csv
import os
import subprocess
import sys
import tempfile

HEADER = ["Name", "Price", "Note"]
ROWS = [
    ["Köln; \"Dom\"", "5,00", "a, b | c"],
    ["=1+1", "-5.00", "@SUM(A1)"],
    ["+49 221", "-3,5", "'=x"],
]
# The cells export-csv writes for ROWS, its formulas guarded.
GUARDED = [
    ["Köln; \"Dom\"", "5,00", "a, b | c"],
    ["'=1+1", "-5.00", "'@SUM(A1)"],
    ["'+49 221", "-3,5", "''=x"],
]
DIALECTS = [
    # delimiter, option, encoding as Python names it, vrkcli's --encoding, byte-order mark
    (";", ";", "cp1252", "cp1252", False),
    ("\t", "tab", "utf-16", "utf-16", True),
    ("|", "|", "latin-1", "latin1", False),
    (",", ",", "utf-8-sig", "utf-8", True),
]


def run(vrkcli, *args, status=0):
    done = subprocess.run([vrkcli, *args], capture_output=True, text=True)
    if done.returncode != status:
        sys.exit(f"vrkcli {' '.join(args)} ended with {done.returncode}, not {status}: {done.stderr}")
    return done


def read(path, delimiter, encoding):
    with open(path, encoding=encoding, newline="") as back:
        return list(csv.reader(back, delimiter=delimiter, strict=True))


def main(vrkcli):
    with tempfile.TemporaryDirectory() as work:
        for number, (delimiter, option, encoding, name, bom) in enumerate(DIALECTS):
            source = os.path.join(work, f"in{number}.csv")
            with open(source, "w", encoding=encoding, newline="") as out:
                csv.writer(out, delimiter=delimiter).writerows([HEADER, *ROWS])
            base = os.path.join(work, f"C{number}")
            imported = run(vrkcli, "import-csv", source, base, "--encoding", name, "--no-guard")
            if delimiter != "," and "has its values separated by" not in imported.stderr:
                sys.exit(f"import-csv did not say which delimiter it found: {imported.stderr}")
            run(vrkcli, "delete", base, "2")

            exported = os.path.join(work, f"out{number}.csv")
            args = ["export-csv", base, exported, "--delimiter", option, "--encoding", name]
            run(vrkcli, *args, *(["--bom"] if bom and name == "utf-8" else []))
            with open(exported, "rb") as raw:
                start = raw.read(3)
            if bom != (start.startswith(b"\xef\xbb\xbf") or start.startswith(b"\xff\xfe")):
                sys.exit(f"{name}: the byte-order mark is {'missing' if bom else 'there unasked'}")
            rows = read(exported, delimiter, "utf-16" if name == "utf-16" else encoding)
            expected = [["Number", "Status", *HEADER]] + [
                [str(n), "deleted" if n == 2 else "active", *row] for n, row in enumerate(GUARDED, start=1)]
            if rows != expected:
                sys.exit(f"{name} {option!r}: {rows} != {expected}")

            # The guard comes off again on import; --no-guard writes the values as they are.
            again = os.path.join(work, f"A{number}")
            run(vrkcli, "import-csv", exported, again, "--encoding", name)
            dump = run(vrkcli, "dump", again).stdout.splitlines()
            if [line.split("\t")[2:] for line in dump] != ROWS or dump[1].split("\t")[1] != "deleted":
                sys.exit(f"{name}: the import of the export gave {dump}")
            run(vrkcli, *args, "--overwrite", "--no-guard")
            if read(exported, delimiter, "utf-16" if name == "utf-16" else encoding)[2][2] != "=1+1":
                sys.exit(f"{name}: --no-guard guarded")
        run(vrkcli, "export-csv", base, os.path.join(work, "x.csv"), "--encoding", "cp1252", "--bom", status=2)
        run(vrkcli, "export-csv", base, os.path.join(work, "x.csv"), "--delimiter", ":", status=2)
    print("every dialect's file came back through vrkcli as it was written")


main(sys.argv[1])
