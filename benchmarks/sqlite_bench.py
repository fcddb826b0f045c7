#!/usr/bin/env python3
"""TwineKit's SQL functions beside SQLite's built-ins doing the same work,
over an in-memory table of a million rows, in Debian's Python:

    /usr/bin/python3 benchmarks/sqlite_bench.py build/native/sql/twinekit [--rows N] [--runs N]

Each query sums the lengths (or counts the matches) of one expression over
the table; it runs --runs times and the best CPU time of this process
counts.  The cost of an expression per row is the query's time less that
of the same query over the bare column, divided by the rows.  Prints a
Markdown table.  The mirror of postgres_bench.py.
"""
import argparse
import sqlite3
import time

# Made the same on every run, from multiplicative hashes of n.
TABLE = """CREATE TABLE rows AS
  WITH RECURSIVE g(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM g WHERE n < {rows})
  SELECT n,
         n || '|' || printf('%08X%08X', n * 2654435761 % 4294967296, n * 40503 % 4294967291) || '|' ||
           (n % 1000) || '|' || printf('%010x', n * 104729 * 7919 % 1099511627776) AS line,
         char(65 + n % 26) || printf('%0*x', 8 + n % 8, n * 2246822519 % 4294967296) AS name
  FROM g"""

# The third field by hand: the text after the second '|', up to the next.
REST = "substr(line, instr(line, '|') + 1)"
AFTER2 = f"substr({REST}, instr({REST}, '|') + 1)"
NESTED = f"substr({AFTER2}, 1, instr({AFTER2} || '|', '|') - 1)"

# (what, TwineKit's query, built-ins' queries by name, the bare query)
COMPARISONS = [
    ("third field", "SELECT sum(length(cGetIn(line, '|', 3))) FROM rows",
     [("instr/substr", f"SELECT sum(length({NESTED})) FROM rows")],
     "SELECT sum(length(line)) FROM rows"),
    ("pattern 'A*'", "SELECT count(*) FROM rows WHERE cPatternMatch(name, 'A*') <> 0",
     [("GLOB 'A*'", "SELECT count(*) FROM rows WHERE name GLOB 'A*'")],
     "SELECT count(*) FROM rows WHERE name IS NOT NULL"),
    ("replace", "SELECT sum(length(cStringSAR(line, 'a', 'xy', -1))) FROM rows",
     [("replace()", "SELECT sum(length(replace(line, 'a', 'xy'))) FROM rows")],
     "SELECT sum(length(line)) FROM rows"),
]


def best_seconds(db, query, runs):
    best = None
    for _ in range(runs):
        start = time.process_time()
        db.execute(query).fetchall()
        spent = time.process_time() - start
        best = spent if best is None else min(best, spent)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("extension", help="the extension's path, without its suffix")
    parser.add_argument("--rows", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    db = sqlite3.connect(":memory:")
    db.enable_load_extension(True)
    db.load_extension(args.extension)
    db.execute(TABLE.format(rows=args.rows))

    print("| work | expression | ns/row |")
    print("| --- | --- | ---: |")
    for what, ours, builtins, bare in COMPARISONS:
        base = best_seconds(db, bare, args.runs)
        for name, query in [("TwineKit", ours)] + builtins:
            ns = (best_seconds(db, query, args.runs) - base) / args.rows * 1e9
            print(f"| {what} | {name} | {ns:.0f} |")


if __name__ == "__main__":
    main()
