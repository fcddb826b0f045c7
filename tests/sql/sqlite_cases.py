#!/usr/bin/env python3
"""Every behaviour case line whose arguments SQL can carry, through the
SQLite extension in Python's sqlite3 module: once with its strings as TEXT
and once as BLOBs, each case file on fresh connections (the separator "|").
The lines are read as JSON from `tkcall --cases-json`; the others are
counted by why SQL cannot carry them.

usage: sqlite_cases.py TKCALL EXTENSION CASEFILE...
"""
import collections
import json
import sqlite3
import subprocess
import sys

WHOLE_VTS = {2, 3, 16, 17, 18, 19, 20, 21, 22, 23}  # i2 i4 i1 ui1 ui2 ui4 i8 ui8 int uint
REAL_VTS = {4, 5}  # r4 r8
TEXT_VT = 8
VT_NAMES = {0: "Empty", 1: "Null", 6: "Currency", 7: "Date", 9: "Object", 10: "Error", 11: "Boolean",
            13: "Unknown", 14: "Decimal"}
INT64 = range(-2**63, 2**63)


def unexpressible(case):
    """Why SQL cannot carry the case's call, or None."""
    if case["clock"] is not None:
        return "a fixed clock"
    for kind, arg in zip(case["kinds"], case["args"]):
        if arg.get("null"):
            return "a null string"
        if kind == "I" and not -32768 <= arg["number"] <= 32767:
            return "an Integer with bits past 16"
        if kind == "X":
            vt = arg["vt"]
            if vt in WHOLE_VTS and arg["integer"] not in INT64:
                return "a Variant past 64 bits"
            if vt & 0x4000:
                return "a Variant by reference"
            if vt & 0x2000:
                return "a Variant array"
            if vt not in WHOLE_VTS | REAL_VTS | {TEXT_VT}:
                return "a Variant of type %s" % VT_NAMES.get(vt, vt)
    return None


def sql_argument(kind, arg, string_type):
    """A placeholder and its parameter for one argument."""
    if "bytes" in arg:
        return "CAST(? AS %s)" % string_type, bytes.fromhex(arg["bytes"])
    if "number" in arg:
        return "?", arg["number"]
    if "text" in arg:
        return "CAST(? AS TEXT)", bytes.fromhex(arg["text"])
    return "?", arg["integer"] if "integer" in arg else arg["real"]


def expected(case):
    """The result the case wants, as SQL gives it: bytes, an int or None."""
    if case["after"] is not None:
        return bytes.fromhex(case["after"])
    want = case["want"]
    if want is None:
        return None
    if "bytes" in want:
        return bytes.fromhex(want["bytes"])
    return want["number"] if "number" in want else want["integer"]


def run(db, case, string_type):
    """What the case's call gives through SQL, and the result's SQL type."""
    pieces = [sql_argument(k, a, string_type) for k, a in zip(case["kinds"], case["args"])]
    call = "%s(%s)" % (case["name"], ", ".join(p for p, _ in pieces))
    row = db.execute("SELECT typeof(r), CASE WHEN typeof(r) IN ('text', 'blob') THEN CAST(r AS BLOB) "
                     "ELSE r END FROM (SELECT %s AS r)" % call, [v for _, v in pieces]).fetchone()
    return row[1], row[0]


def result_type(case, string_type):
    if case["want"] is None:
        return "null"
    if case["kinds"][-1] != "S" and case["after"] is None:
        return "integer"
    first = next((k for k in case["kinds"][:-1] if k in "RWV"), None)
    return "blob" if first and string_type == "BLOB" else "text"


def connect(extension):
    db = sqlite3.connect(":memory:")
    if not hasattr(db, "enable_load_extension"):
        sys.exit("sqlite_cases.py: this Python's sqlite3 cannot load extensions; run Debian's /usr/bin/python3")
    db.enable_load_extension(True)
    db.load_extension(extension)
    return db


def main():
    tkcall, extension, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    lines = failures = through = 0
    skipped = collections.Counter()
    for path in files:
        out = subprocess.run([tkcall, "--cases-json", path], check=True, capture_output=True).stdout
        cases = [json.loads(line) for line in out.decode().splitlines()]
        lines += len(cases)
        dbs = {t: connect(extension) for t in ("TEXT", "BLOB")}
        for case in cases:
            why = unexpressible(case)
            if why:
                skipped[why] += 1
                continue
            through += 1
            for string_type, db in dbs.items():
                got, got_type = run(db, case, string_type)
                want, want_type = expected(case), result_type(case, string_type)
                if got != want or got_type != want_type:
                    failures += 1
                    print("%s (%s): got %r %s, want %r %s" % (case["where"], string_type, got, got_type,
                                                              want, want_type))
    reasons = ", ".join("%d %s" % (n, why) for why, n in skipped.most_common())
    print("sqlite cases: %d lines: %d through SQL (as TEXT and as BLOB), %d not expressible (%s); %d failed"
          % (lines, through, lines - through, reasons, failures))
    return 1 if failures or through == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
