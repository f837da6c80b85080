#!/usr/bin/env python3
"""Reads back a list written as a workbook or as CSV, with readers that share nothing
with the program, and prints its rows as JSON: {"rows": [[...]], "types": [...]}.
A CSV file must be exactly what Python's own writer makes of those rows (UTF-8 with a
byte-order mark, semicolons, CR LF, minimal quoting), or the script fails."""
import csv
import io
import json
import sys

path = sys.argv[1]
if path.endswith(".csv"):
    raw = open(path, "rb").read()
    if not raw.startswith(b"\xef\xbb\xbf"):
        sys.exit("no byte-order mark")
    text = raw[3:].decode("utf-8")
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=";"))
    again = io.StringIO(newline="")
    csv.writer(again, delimiter=";", lineterminator="\r\n").writerows(rows)
    if again.getvalue() != text:
        sys.exit("not the CSV form expected:\n%r\n%r" % (again.getvalue()[:400], text[:400]))
    types = sorted({"s"})
else:
    import openpyxl
    from openpyxl.utils.escape import unescape  # "_x000D_" is how a workbook stores CR
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    rows, kinds = [], set()
    for line in sheet.iter_rows():
        rows.append(["" if c.value is None else unescape(c.value) if isinstance(c.value, str) else c.value
                     for c in line])
        kinds.update(c.data_type for c in line if c.value is not None)
    types = sorted(kinds)
json.dump({"rows": rows, "types": types}, sys.stdout, ensure_ascii=False)
