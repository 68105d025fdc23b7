#!/usr/bin/env bash
# A table written by vrkcli export-dbf opens in three widely used dBase readers, dbfread (Python),
# dbview and GDAL's ogrinfo, with the right field names, types, lengths and values, its text decoded
# by the code page the table names; and a table GDAL writes (wide numbers, UTF-8) imports.
set -euo pipefail
vrkcli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$vrkcli" new "$work/books" "Title:30:key" "Author Name:20" "Year:4" "Price:8:sum" "Double:10:calc=D+D" >/dev/null
"$vrkcli" add "$work/books" Title="Le Petit Prince" "Author Name=Saint-Exupéry" Year=1943 Price=12.5 >/dev/null
"$vrkcli" add "$work/books" Title=Dune "Author Name=Herbert" Year=1965 Price=9 >/dev/null
"$vrkcli" export-dbf "$work/books" "$work/BOOKS.DBF" >/dev/null

/usr/bin/python3 - "$work/BOOKS.DBF" <<'PY'
import sys
from dbfread import DBF
table = DBF(sys.argv[1], char_decode_errors="strict")  # the code page the header names
assert table.encoding == "cp1252", table.encoding
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
ogrinfo -q -al "$work/BOOKS.DBF" > "$work/ogr.txt"
grep -q "AUTHOR_NAM (String) = Saint-Exupéry" "$work/ogr.txt" || { cat "$work/ogr.txt"; exit 1; }
[ "$(cat "$work/BOOKS.CPG")" = 1252 ]

# GDAL writes numbers 24 wide with 15 decimals, and UTF-8 text with a CPG file saying so.
printf 'Name,Price\nCafé 日本,12.5\nTé,-7.25\n' > "$work/in.csv"
ogr2ogr -f "ESRI Shapefile" -oo AUTODETECT_TYPE=YES -lco ENCODING=UTF-8 "$work/gdal.dbf" "$work/in.csv"
"$vrkcli" import-dbf "$work/gdal.dbf" "$work/GDAL" 2> "$work/notices.txt" >/dev/null
grep -q 'Characters code page 1252 lacks, now "?": 2' "$work/notices.txt"
"$vrkcli" dump "$work/GDAL" > "$work/dump.txt"
printf '1\tactive\tCafé ??\t      12.500000000000000\n2\tactive\tTé\t      -7.250000000000000\n' | diff - "$work/dump.txt"
echo "the table opens in dbfread, dbview and ogrinfo, and GDAL's table imports"
