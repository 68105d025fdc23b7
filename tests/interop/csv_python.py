#!/usr/bin/env python3
"""A CSV file that Python's csv module writes goes through vrkcli import-csv and export-csv and comes
back, read by the csv module again, with every value as a catalog keeps it: a line break a blank, a
character a catalog cannot hold "?", trailing blanks gone.

  csv_python.py VRKCLI
"""
import csv
import os
import subprocess
import sys
import tempfile

ROWS = [
    ["He said \"hi\"", "a, b", "line one\nline two", " leading", "trailing  "],
    ["Ελληνικά", "日本語", "Ünïcödé", "", "price: 5 €"],
    ["x\r\ny", "\"", ",", "tab\there", "plain"],
]
HEADER = ["Quote", "Comma", "Lines", "Blanks", "Mixed"]


def as_catalog_keeps(value):
    """A value as a catalog holds it: one line, in code page 1252, and of that what its files keep,
    which store code page 437 (no euro sign); trailing blanks removed."""
    kept = value.replace("\r\n", " ")
    kept = "".join(" " if ord(c) < 0x20 or c == "\x7f" else c for c in kept)
    kept = "".join("?" if c == "€" or c.encode("cp1252", "replace") == b"?" else c for c in kept)
    return kept.rstrip(" ")


def run(vrkcli, *args):
    done = subprocess.run([vrkcli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"vrkcli {' '.join(args)} failed ({done.returncode}): {done.stderr}")
    return done


def main(vrkcli):
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "in.csv")
        with open(source, "w", encoding="utf-8", newline="") as out:
            writer = csv.writer(out)
            writer.writerow(HEADER)
            writer.writerows(ROWS)
        imported = run(vrkcli, "import-csv", source, os.path.join(work, "awkward"))
        for notice in ("now \"?\"", "now blanks"):
            if notice not in imported.stderr:
                sys.exit(f"import-csv said nothing about what it changed ({notice}): {imported.stderr}")

        exported = os.path.join(work, "out.csv")
        run(vrkcli, "export-csv", os.path.join(work, "awkward"), exported)
        with open(exported, "rb") as raw:
            data = raw.read()
        if data.startswith(b"\xef\xbb\xbf") or not data.endswith(b"\r\n"):
            sys.exit("the export has a byte-order mark or does not end its rows with CR LF")
        with open(exported, encoding="utf-8", newline="") as back:
            rows = list(csv.reader(back, strict=True))

        if rows[0] != ["Number", "Status", *HEADER]:
            sys.exit(f"header {rows[0]}")
        for number, (row, original) in enumerate(zip(rows[1:], ROWS), start=1):
            expected = [str(number), "active", *map(as_catalog_keeps, original)]
            if row != expected:
                sys.exit(f"row {number}: {row} != {expected}")
        if len(rows) != len(ROWS) + 1:
            sys.exit(f"{len(rows) - 1} rows came back of {len(ROWS)}")
    print("the csv module's file came back through vrkcli as a catalog keeps it")


main(sys.argv[1])
