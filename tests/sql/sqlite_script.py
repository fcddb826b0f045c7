#!/usr/bin/env python3
"""The behaviour case lines of one case file as a script for a SQLite shell,
for a SQLite that Python cannot drive (the Windows extension in a Windows
shell under Wine): the lines and checks of sqlite_cases.py, with each
argument written as a SQL literal, once as TEXT and once as BLOBs.

usage: sqlite_script.py TKCALL LABEL EXTENSION [--refuse OTHER] CASEFILE >SCRIPT

The script first loads OTHER, which must fail, and counts it a case that
no function came of it; then loads EXTENSION (paths as the shell sees
them).  Each outcome goes into a table; the script ends with a line for
each failure and the closing line
"LABEL: N passed, N failed (M lines SQL cannot carry)".
"""
import json
import math
import subprocess
import sys

import sqlite_cases


def literal(value):
    """A parameter of sqlite_cases as a SQL literal."""
    if value is None:
        return "NULL"
    if isinstance(value, bytes):
        return "X'%s'" % value.hex().upper()
    if isinstance(value, float) and not math.isfinite(value):
        # SQLite reads a NaN it is given as NULL, and a number too large as
        # an infinity.
        return "NULL" if math.isnan(value) else "-9e999" if value < 0 else "9e999"
    return repr(value)


def quoted(text):
    return "'%s'" % text.replace("'", "''")


def call(case, string_type):
    """The case's call with its arguments written in, as sqlite_cases runs it."""
    pieces = [sqlite_cases.sql_argument(k, a, string_type) for k, a in zip(case["kinds"], case["args"])]
    return "%s(%s)" % (case["name"], ", ".join(p.replace("?", literal(v)) for p, v in pieces))


def record(place, value, want_type, want):
    """A statement that records what VALUE gives beside what the case wants."""
    return ("INSERT INTO outcome SELECT %s, typeof(r), CASE WHEN typeof(r) IN ('text', 'blob') "
            "THEN CAST(r AS BLOB) ELSE r END, %s, %s FROM (SELECT %s AS r);"
            % (quoted(place), quoted(want_type), literal(want), value))


def main():
    args = sys.argv[1:]
    refuse = None
    if len(args) == 6 and args[3] == "--refuse":
        refuse = args.pop(4)
        args.pop(3)
    if len(args) != 4:
        sys.exit(__doc__)
    tkcall, label, extension, path = args
    out = subprocess.run([tkcall, "--cases-json", path], check=True, capture_output=True).stdout
    cases = [json.loads(line) for line in out.decode().splitlines()]

    lines = ["CREATE TEMP TABLE outcome(place TEXT, got_type TEXT, got, want_type TEXT, want);"]
    total = 0
    if refuse:
        lines += [".load %s" % quoted(refuse),
                  record("the other width's extension is refused", "(SELECT count(*) FROM "
                         "pragma_function_list WHERE name = 'cgetin')", "integer", 0)]
        total += 1
    lines.append(".load %s" % quoted(extension))
    carried = [c for c in cases if not sqlite_cases.unexpressible(c)]
    for string_type in ("TEXT", "BLOB"):
        # Each pass starts from the separator of a fresh connection.
        lines.append("SELECT 1 WHERE cSetDefaultSeparator('|') IS NOT NULL;")
        for case in carried:
            lines.append(record("%s (%s)" % (case["where"], string_type), call(case, string_type),
                                sqlite_cases.result_type(case, string_type), sqlite_cases.expected(case)))
            total += 1
    passed = "(SELECT count(*) FROM outcome WHERE got_type = want_type AND got IS want)"
    lines += ["SELECT 'FAIL ' || place || ': got ' || quote(got) || ' ' || got_type || ', want ' || "
              "quote(want) || ' ' || want_type FROM outcome WHERE NOT (got_type = want_type AND got IS want);",
              "SELECT printf('%%s: %%d passed, %%d failed (%%d lines SQL cannot carry)', %s, %s, %d - %s, %d);"
              % (quoted(label), passed, total, passed, len(cases) - len(carried))]
    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
