#!/usr/bin/env python3
"""TwineKit's SQL functions beside PostgreSQL's built-ins doing the same
work, over a table of a million rows, in one process and with parallel
workers.  Run it with a server that has the extension installed (PGHOST,
PGPORT, PGUSER), e.g. as scripts/test-postgres.sh leaves it:

    scripts/postgres-server.sh run python3 benchmarks/postgres_bench.py [--rows N] [--workers N]

Each query sums the lengths (or counts the matches) of one expression
over the table; it runs --runs times and the best time counts.  Without
workers the time is the backend's own CPU time (/proc/self/schedstat, read
through pg_read_file), which other processes on a busy machine disturb far
less than the clock; with workers it is the time on the clock.  The cost
of an expression per row is the query's time less that of the same query
over the bare column, divided by the rows.  Prints a Markdown table.
"""
import argparse
import re
import subprocess

TABLE = """CREATE TABLE rows AS
  SELECT n,
         n || '|' || md5(n::text) || '|' || (n % 1000) || '|' || substr(md5((n * 7)::text), 1, 10) AS line,
         chr(65 + n % 26) || substr(md5((n * 3)::text), 1, 8 + n % 8) AS name
  FROM generate_series(1, {rows}) n"""

# The third field by hand: the text after the second '|', up to the next.
NESTED = ("substr(substr(substr(line, strpos(line, '|') + 1), "
          "strpos(substr(line, strpos(line, '|') + 1), '|') + 1), 1, "
          "strpos(substr(substr(line, strpos(line, '|') + 1), "
          "strpos(substr(line, strpos(line, '|') + 1), '|') + 1) || '|', '|') - 1)")

# (what, TwineKit's query, built-ins' queries by name, the bare query)
COMPARISONS = [
    ("third field", "SELECT sum(octet_length(cGetIn(line, '|', 3))) FROM rows",
     [("split_part", "SELECT sum(octet_length(split_part(line, '|', 3))) FROM rows"),
      ("strpos/substr", f"SELECT sum(octet_length({NESTED})) FROM rows")],
     "SELECT sum(octet_length(line)) FROM rows"),
    ("pattern 'A*'", "SELECT count(*) FROM rows WHERE cPatternMatch(name, 'A*') <> 0",
     [("LIKE 'A%'", "SELECT count(*) FROM rows WHERE name LIKE 'A%'")],
     "SELECT count(*) FROM rows WHERE name IS NOT NULL"),
    ("replace", "SELECT sum(octet_length(cStringSAR(line, 'a', 'xy', -1))) FROM rows",
     [("replace()", "SELECT sum(octet_length(replace(line, 'a', 'xy'))) FROM rows")],
     "SELECT sum(octet_length(line)) FROM rows"),
]


def psql(database, *commands):
    args = ["psql", "-X", "-q", "-At", "-v", "ON_ERROR_STOP=1", "-d", database]
    for c in commands:
        args += ["-c", c]
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


CPU_NS = "SELECT 'cpu ' || split_part(pg_read_file('/proc/self/schedstat'), ' ', 1)"


def best_ms(query, workers, runs):
    """The query's best time of runs: CPU time without workers, else the clock's."""
    settings = [f"SET max_parallel_workers_per_gather = {workers}"]
    if workers:
        settings += ["SET parallel_setup_cost = 0", "SET parallel_tuple_cost = 0",
                     "SET min_parallel_table_scan_size = 0"]
    out = psql("twinekit_bench", *settings, "\\timing on", *[CPU_NS, query] * runs, CPU_NS)
    if workers:
        # A time for every statement: the queries' are every other one.
        times = [float(t) for t in re.findall(r"^Time: ([0-9.]+) ms", out, re.M)][1::2]
    else:
        cpu = [int(n) for n in re.findall(r"^cpu ([0-9]+)$", out, re.M)]
        times = [(b - a) / 1e6 for a, b in zip(cpu, cpu[1:])]
    if len(times) != runs:
        raise SystemExit(f"postgres_bench: no timing for {query}:\n{out}")
    return min(times)


def plan_workers(query, workers):
    plan = psql("twinekit_bench", f"SET max_parallel_workers_per_gather = {workers}",
                "SET parallel_setup_cost = 0", "SET min_parallel_table_scan_size = 0",
                f"EXPLAIN (ANALYZE, COSTS OFF, TIMING OFF) {query}")
    m = re.search(r"Workers Launched: (\d+)", plan)
    return int(m.group(1)) if m else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rows", type=int, default=1_000_000)
    parser.add_argument("--workers", type=int, default=2, help="workers of the parallel runs")
    parser.add_argument("--runs", type=int, default=3)
    a = parser.parse_args()
    psql("postgres", "DROP DATABASE IF EXISTS twinekit_bench", "CREATE DATABASE twinekit_bench")
    psql("twinekit_bench", "CREATE EXTENSION twinekit", TABLE.format(rows=a.rows), "VACUUM ANALYZE rows")
    version = psql("twinekit_bench", "SHOW server_version").strip()
    launched = plan_workers(COMPARISONS[0][1], a.workers)
    print(f"PostgreSQL {version}, {a.rows} rows, best of {a.runs}; parallel runs: "
          f"{launched} workers launched of {a.workers} asked, and the leader.\n")
    print("| work | workers | expression | query ms (CPU without workers) | ns/row (net of the scan) | ratio to TwineKit |")
    print("|---|---|---|---|---|---|")
    for what, ours, builtins, bare in COMPARISONS:
        for workers in (0, a.workers):
            base = best_ms(bare, workers, a.runs)
            ours_ms = best_ms(ours, workers, a.runs)
            ours_ns = (ours_ms - base) * 1e6 / a.rows
            rows = [("TwineKit", ours_ms, ours_ns)]
            for name, query in builtins:
                ms = best_ms(query, workers, a.runs)
                rows.append((name, ms, (ms - base) * 1e6 / a.rows))
            for name, ms, ns in rows:
                ratio = ns / ours_ns if ours_ns > 0 else float("nan")
                print(f"| {what} | {workers or 'none'} | {name} | {ms:.0f} | {ns:.1f} | {ratio:.2f} |")
    psql("postgres", "DROP DATABASE twinekit_bench")


if __name__ == "__main__":
    main()
