#!/usr/bin/env bash
# A table written by vrkcli export-dbf opens in two widely used dBase readers, dbfread (Python) and
# dbview, with the right field names, types, lengths and values.
set -euo pipefail
vrkcli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$vrkcli" new "$work/books" "Title:30:key" "Author Name:20" "Year:4" "Price:8:sum" "Double:10:calc=D+D" >/dev/null
"$vrkcli" add "$work/books" Title="Le Petit Prince" "Author Name=Saint-Exupéry" Year=1943 Price=12.5 >/dev/null
"$vrkcli" add "$work/books" Title=Dune "Author Name=Herbert" Year=1965 Price=9 >/dev/null
"$vrkcli" export-dbf "$work/books" "$work/books" >/dev/null  # writes BOOKS.DBF

/usr/bin/python3 - "$work/BOOKS.DBF" <<'PY'
import sys
from dbfread import DBF
table = DBF(sys.argv[1], encoding="cp1252", char_decode_errors="strict")
fields = [(f.name, f.type, f.length, f.decimal_count) for f in table.fields]
expected = [("TITLE", "C", 30, 0), ("AUTHOR_NAM", "C", 20, 0), ("YEAR", "C", 4, 0), ("PRICE", "C", 8, 0),
            ("DOUBLE", "C", 10, 0)]
assert fields == expected, fields
records = [dict(r) for r in table]
assert len(records) == 2, records
assert records[0] == {"TITLE": "Le Petit Prince", "AUTHOR_NAM": "Saint-Exupéry", "YEAR": "1943",
                      "PRICE": "12.5", "DOUBLE": "25"}, records[0]
assert records[1]["TITLE"] == "Dune" and records[1]["DOUBLE"] == "18", records[1]
PY

dbview -b "$work/BOOKS.DBF" > "$work/view.txt"
grep -q "Dune" "$work/view.txt"
grep -q "Herbert" "$work/view.txt"
echo "the table opens in dbfread and dbview"
