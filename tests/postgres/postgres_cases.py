#!/usr/bin/env python3
"""Every behaviour case line whose arguments SQL can carry, through the
PostgreSQL extension in psql: each call on bytea, and on text when its
strings are text in the database's encoding (UTF8, no zero byte); a text
call whose result is not such text must fail with the encoding error.
Each case file runs on a fresh connection (the separator "|").  The lines
come as JSON from `tkcall --cases-json`; what SQL cannot carry, and the
results the cases want, are decided as for SQLite (tests/sql/sqlite_cases.py).

usage: postgres_cases.py TKCALL CASEFILE...   (PGHOST, PGPORT, PGUSER name the server)
"""
import collections
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sql"))
from sqlite_cases import expected, unexpressible  # noqa: E402

DATABASE = "twinekit_cases"
NOT_TEXT = "22021"  # character_not_in_repertoire
# One call's outcome as a line: its value (hexadecimal bytes or a number),
# null, or the error's SQLSTATE and message.
OUTCOME = r"""
CREATE FUNCTION pg_temp.outcome(query text) RETURNS text LANGUAGE plpgsql AS $$
DECLARE
  r text;
BEGIN
  EXECUTE query INTO r;
  RETURN coalesce(r, 'null');
EXCEPTION WHEN OTHERS THEN
  RETURN 'error ' || SQLSTATE || ' ' || replace(SQLERRM, E'\n', ' ');
END $$;
"""


def as_text(data):
    """The bytes as text of the database, or None."""
    if b"\0" in data:
        return None
    try:
        data.decode("utf-8")
    except UnicodeDecodeError:
        return None
    return data


def string_arguments(case):
    return [bytes.fromhex(a["bytes"] if "bytes" in a else a["text"])
            for a in case["args"] if "bytes" in a or "text" in a]


def argument(arg, form):
    if "bytes" in arg or "text" in arg:
        literal = "'\\x%s'::bytea" % (arg["bytes"] if "bytes" in arg else arg["text"])
        return literal if form == "bytea" else "convert_from(%s, 'UTF8')" % literal
    if "number" in arg:
        return "(%d)::bigint" % arg["number"]
    if "integer" in arg:
        return "(%d)::bigint" % arg["integer"]
    return "'%r'::float8" % arg["real"]


def gives_bytea(case, form):
    """Whether the call gives bytea: the bytea form of a string function
    called with a string (cArabicToRoman of a number gives text)."""
    gives_string = case["kinds"][-1] == "S" or "W" in case["kinds"]
    return gives_string and form == "bytea" and bool(string_arguments(case))


def query(case, form):
    """The SELECT that gives the call's outcome as one text value."""
    call = "%s(%s)" % (case["name"], ", ".join(argument(a, form) for a in case["args"]))
    gives_string = case["kinds"][-1] == "S" or "W" in case["kinds"]
    if not gives_string:
        value = "(%s)::text" % call
    elif gives_bytea(case, form):
        value = "encode(%s, 'hex')" % call
    else:
        value = "encode(convert_to(%s, 'UTF8'), 'hex')" % call
    return "SELECT %s" % value


def want_line(case, form):
    want = expected(case)
    if want is None:
        return "null"
    if isinstance(want, int):
        return str(want)
    if not gives_bytea(case, form) and as_text(want) is None:
        return "error " + NOT_TEXT
    return want.hex()


def psql(*args, stdin=None):
    return subprocess.run(["psql", "-X", "-q", "-At", "-v", "ON_ERROR_STOP=1", *args], input=stdin,
                          check=True, capture_output=True, text=True).stdout


def run_file(tkcall, path, counts):
    out = subprocess.run([tkcall, "--cases-json", path], check=True, capture_output=True).stdout
    cases = [json.loads(line) for line in out.decode().splitlines()]
    counts["lines"] += len(cases)
    calls = []  # (case, form)
    for case in cases:
        why = unexpressible(case)
        if why:
            counts["not expressible: " + why] += 1
            continue
        counts["through SQL"] += 1
        calls.append((case, "bytea"))
        strings = string_arguments(case)
        if strings and all(as_text(s) is not None for s in strings):
            calls.append((case, "text"))
            counts["also on text"] += 1
            if want_line(case, "text").startswith("error"):
                counts["text result refused as not text"] += 1
    script = OUTCOME + "".join("SELECT pg_temp.outcome($tk$%s$tk$);\n" % query(c, f) for c, f in calls)
    got = psql("-d", DATABASE, stdin=script).splitlines()
    if len(got) != len(calls):
        sys.exit("postgres_cases.py: %s: %d outcomes for %d calls" % (path, len(got), len(calls)))
    failures = 0
    for (case, form), line in zip(calls, got):
        want = want_line(case, form)
        if line != want and not (want.startswith("error") and line.startswith(want + " ")):
            failures += 1
            print("%s (%s): got %s, want %s" % (case["where"], form, line, want))
    return failures


def main():
    tkcall, files = sys.argv[1], sys.argv[2:]
    psql("-d", "postgres", "-c", "DROP DATABASE IF EXISTS " + DATABASE, "-c", "CREATE DATABASE " + DATABASE)
    psql("-d", DATABASE, "-c", "CREATE EXTENSION twinekit")
    counts = collections.Counter()
    failures = sum(run_file(tkcall, path, counts) for path in files)
    psql("-d", "postgres", "-c", "DROP DATABASE " + DATABASE)
    skipped = ", ".join("%d %s" % (n, why[len("not expressible: "):])
                        for why, n in counts.most_common() if why.startswith("not expressible: "))
    print("postgres cases: %d lines: %d through SQL, %d of them on text too (%d text results "
          "refused as not text), %d not expressible (%s); %d failed"
          % (counts["lines"], counts["through SQL"], counts["also on text"],
             counts["text result refused as not text"], counts["lines"] - counts["through SQL"],
             skipped, failures))
    return 1 if failures or counts["through SQL"] == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
