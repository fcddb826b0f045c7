#!/usr/bin/env python3
"""Runs the ```sql blocks of the guides through the SQLite extension, each
on a fresh connection with trusted_schema=OFF: the statements of a block in
order, and after a query the lines "-- ROW" below it must be its rows, as
the sqlite3 shell prints them (columns joined by "|").

usage: check_sql_examples.py EXTENSION GUIDE.md...
"""
import re
import sqlite3
import sys


def blocks(text):
    return re.findall(r"^```sql\n(.*?)^```", text, re.M | re.S)


def statements(block):
    """[(statement, [expected rows])] of a block."""
    out, pending = [], ""
    for line in block.splitlines():
        if line.startswith("-- ") and out and not pending.strip():
            out[-1][1].append(line[3:])
            continue
        pending += line + "\n"
        if sqlite3.complete_statement(pending):
            out.append((pending.strip(), []))
            pending = ""
    return out


def run(extension, block):
    db = sqlite3.connect(":memory:")
    db.enable_load_extension(True)
    db.load_extension(extension)
    db.execute("PRAGMA trusted_schema=OFF")
    problems = []
    for sql, want in statements(block):
        rows = ["|".join(str(v) for v in row) for row in db.execute(sql).fetchall()]
        if want and rows != want:
            problems.append("%s gave %r, not %r" % (sql, rows, want))
    return problems


def main():
    extension, guides = sys.argv[1], sys.argv[2:]
    problems, count = [], 0
    for path in guides:
        for block in blocks(open(path, encoding="utf-8").read()):
            count += 1
            problems += ["%s: %s" % (path, p) for p in run(extension, block)]
    for p in problems:
        print("FAIL", p)
    print("sql examples: %d blocks, %d problems" % (count, len(problems)))
    return 1 if problems or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
