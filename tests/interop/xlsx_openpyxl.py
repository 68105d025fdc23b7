#!/usr/bin/env python3
"""A workbook written by vrkcli export-xlsx, read by openpyxl: one sheet, a bold and frozen header row,
every cell's value and type (numbers where every value of a field is one, and in sum and computed
fields; text everywhere else, codes with leading zeros and formulas included), the columns as wide as
the fields.

  xlsx_openpyxl.py VRKCLI
"""
import os
import subprocess
import sys
import tempfile

import openpyxl


def run(vrkcli, *args, status=0):
    done = subprocess.run([vrkcli, *args], capture_output=True, text=True)
    if done.returncode != status:
        sys.exit(f"vrkcli {' '.join(args)} ended with {done.returncode}, not {status}: {done.stderr}")
    return done


def main(vrkcli):
    with tempfile.TemporaryDirectory() as work:
        base = os.path.join(work, "BOOKS")
        run(vrkcli, "new", base, "Title:30:key", "Zip:5", "Price:8:sum", "Year:4", "Pages:5", "Twice:10:calc=C+C")
        run(vrkcli, "add", base, "Title=Café <b> & \"Ünïcödé\"", "Zip=01234", "Price=12.50", "Year=1965", "Pages=-3.5")
        run(vrkcli, "add", base, "Title==1+1", "Zip=99999", "Price=n/a", "Year=ca.", "Pages=400")
        run(vrkcli, "add", base, "Title=Empty")
        run(vrkcli, "delete", base, "2")
        book = os.path.join(work, "books.xlsx")
        written = run(vrkcli, "export-xlsx", base, book)
        if written.stdout != f"3 entries written to {book}\n":
            sys.exit(f"export-xlsx said {written.stdout!r}")
        run(vrkcli, "export-xlsx", base, book, status=2)  # no --overwrite

        workbook = openpyxl.load_workbook(book)
        if len(workbook.worksheets) != 1:
            sys.exit(f"{len(workbook.worksheets)} sheets")
        sheet = workbook.active
        rows = [[(cell.value, cell.data_type) for cell in row] for row in sheet.iter_rows()]
        header = ["Number", "Status", "Title", "Zip", "Price", "Year", "Pages", "Twice"]
        expected = [
            [(name, "s") for name in header],
            [(1, "n"), ("active", "s"), ("Café <b> & \"Ünïcödé\"", "s"), ("01234", "s"), (12.5, "n"),
             ("1965", "s"), (-3.5, "n"), (25, "n")],
            [(2, "n"), ("deleted", "s"), ("=1+1", "s"), ("99999", "s"), ("n/a", "s"), ("ca.", "s"), (400, "n"),
             (0, "n")],
            [(3, "n"), ("active", "s"), ("Empty", "s"), (None, "n"), (None, "n"), (None, "n"), (None, "n"),
             (0, "n")],
        ]
        if rows != expected:
            sys.exit("cells:\n" + "\n".join(map(str, rows)) + "\nexpected:\n" + "\n".join(map(str, expected)))
        if not all(cell.font.b for cell in sheet[1]) or any(cell.font.b for cell in sheet[2]):
            sys.exit("the header row, and only it, is bold")
        if sheet.freeze_panes != "A2":
            sys.exit(f"frozen at {sheet.freeze_panes}")
        widths = {letter: round(sheet.column_dimensions[letter].width) for letter in "CDEFGH"}
        if widths != {"C": 32, "D": 7, "E": 10, "F": 6, "G": 7, "H": 12}:
            sys.exit(f"column widths {widths}")
    print("openpyxl reads every cell of the workbook as it should be")


main(sys.argv[1])
