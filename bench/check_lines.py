#!/usr/bin/env python3
"""Checks kordelc's per-file line totals against wc -l.

Reads kordelc's JSON on stdin. For a file that ends in a line end, holds no Ctrl-Z, no lone CR and no
line over 4095 characters, text mode gives exactly one line per LF, so the total must equal wc -l.
The other files are counted and reported, not compared.
"""
import json
import sys

report = json.load(sys.stdin)
compared = skipped = 0
wrong = []
for row in report["files"]:
    with open(row["path"], "rb") as f:
        data = f.read()
    lines = data.replace(b"\r\n", b"\n").split(b"\n")
    plain = (data.endswith(b"\n") and b"\x1a" not in data and b"\r" not in data.replace(b"\r\n", b"")
             and max(len(line) for line in lines) <= 4095)
    if not plain:
        skipped += 1
        continue
    compared += 1
    wc = data.count(b"\n")
    if row["lines"] != wc:
        wrong.append(f'{row["path"]}: kordelc {row["lines"]}, wc -l {wc}')
print(f"line totals: {compared} files agree with wc -l" if not wrong else f"line totals: {len(wrong)} of {compared} files differ from wc -l")
print(f"  ({skipped} files not compared: no line end at the end, a lone CR, a Ctrl-Z or a line over 4095 characters)")
for w in wrong[:10]:
    print("  " + w)
sys.exit(1 if wrong else 0)
