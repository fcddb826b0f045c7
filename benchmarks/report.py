#!/usr/bin/env python3
"""Turns the JSON output of twinekit_benchmarks into docs/performance.md.

Prints every line with its throughput and its ratio to memcpy at the same
size, and writes the Markdown report: the machine, a table of the peers,
and one table per family of exports.
"""
import argparse
import json
import statistics

FAMILIES = ["positions", "fields", "charsets", "compress", "encodings", "names", "patterns"]


def read_runs(path):
    """{(case, size): run} from the medians, or the single runs."""
    with open(path) as f:
        rows = json.load(f)["benchmarks"]
    medians = [r for r in rows if r.get("aggregate_name") == "median"]
    runs = {}
    for r in medians or [r for r in rows if r.get("run_type") == "iteration"]:
        case, size = r["run_name"].rsplit("/", 1)
        runs[(case, int(size))] = {
            "bps": r.get("bytes_per_second", 0.0),
            "ns": r["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[r["time_unit"]],
            "peer": r.get("label", "").removeprefix("peer="),
        }
    return runs


def size_text(n):
    for unit, scale in (("MiB", 1 << 20), ("KiB", 1 << 10)):
        if n >= scale and n % scale == 0:
            return f"{n // scale} {unit}"
    return f"{n} B"


def rate_text(bps):
    return f"{bps / 1e9:.2f} GB/s" if bps >= 1e9 else f"{bps / 1e6:.1f} MB/s"


def ratio(a, b):
    return f"{a / b:.3f}" if a and b else "-"


def ns_text(ns):
    return f"{ns:,.0f}" if ns >= 100 else f"{ns:.1f}"


def memcpy_bps(runs, size):
    return runs.get(("peer/memcpy", size), {}).get("bps", 0.0)


def peer_table(runs):
    out = ["| peer | size | throughput | × memcpy | ns/call |", "|---|---|---|---|---|"]
    for (case, size), r in runs.items():
        if case.startswith("peer/"):
            out.append(f"| {case[5:]} | {size_text(size)} | {rate_text(r['bps'])} | "
                       f"{ratio(r['bps'], memcpy_bps(runs, size))} | {ns_text(r['ns'])} |")
    return out


def family_table(runs, family):
    out = ["| export | size | throughput | × memcpy | ns/call | peer | peer throughput | × peer |",
           "|---|---|---|---|---|---|---|---|"]
    for (case, size), r in runs.items():
        if not case.startswith(family + "/"):
            continue
        peer = runs.get(("peer/" + r["peer"], size)) if r["peer"] else None
        peer_cells = (f"{r['peer']} | {rate_text(peer['bps'])} | {ratio(r['bps'], peer['bps'])}"
                      if peer else " | | ")
        out.append(f"| {case.split('/', 1)[1]} | {size_text(size)} | {rate_text(r['bps'])} | "
                   f"{ratio(r['bps'], memcpy_bps(runs, size))} | {ns_text(r['ns'])} | {peer_cells} |")
    return out


def call_cost(runs):
    calls = {case: r["ns"] for (case, size), r in runs.items()
             if size == 16 and not case.startswith("peer/")}
    fastest, slowest = min(calls, key=calls.get), max(calls, key=calls.get)
    return (f"A call on 16 bytes of text costs {statistics.median(calls.values()):.0f} ns "
            f"(median of the {len(calls)} export runs at 16 bytes; from "
            f"{calls[fastest]:.0f} ns for {fastest.split('/', 1)[1]} to "
            f"{calls[slowest]:.0f} ns for {slowest.split('/', 1)[1]}). "
            f"memcpy of 16 bytes takes {runs[('peer/memcpy', 16)]['ns']:.1f} ns; allocating and "
            f"freeing a 16-byte BSTR, which every string result pays, "
            f"{runs[('peer/bstr-copy', 16)]['ns']:.1f} ns.")


def print_lines(runs):
    for (case, size), r in runs.items():
        print(f"{case:44} {size_text(size):>8} {rate_text(r['bps']):>12} "
              f"{ratio(r['bps'], memcpy_bps(runs, size)):>8} x memcpy {ns_text(r['ns']):>12} ns")
    print(call_cost(runs))


def report(runs, args):
    lines = [
        "# Performance", "",
        f"Measured by `scripts/bench.sh` on {args.date}: {args.machine}; {args.compiler}; "
        f"the library built {args.build_type}, as it ships.", "",
        "Figures are ratios measured in one process on a shared machine: other work on the "
        "machine moves every absolute figure, so read a throughput beside memcpy's and its "
        "peer's at the same size, measured in the same run.", "",
        "Each export is called as a Basic host calls it (its arguments made once, each string "
        "result freed), on realistic input of the size shown (`benchmarks/export_cases.cpp`). "
        "Throughput is bytes of that input per second of CPU time, the median of "
        f"{args.repetitions} repetitions; × memcpy divides it by memcpy's at the same size. "
        "A few exports do constant work and run at one size only. glibc's heap keeps the "
        "memory it is given back (no trimming, no mapping of blocks under 64 MiB), as a "
        "long-running host's heap does, so that 1 MiB figures time the exports rather than "
        "pages mapped anew at every call. bstr-copy:offset makes a BSTR of another BSTR's bytes "
        "from its second byte on, the copy that every export returning a run that does not "
        "start at the text's first byte makes.", "",
        "## A call of 16 bytes", "", call_cost(runs), "",
        "## Limits and peers", "", *peer_table(runs), "",
    ]
    for family in FAMILIES:
        lines += [f"## {family}", "", *family_table(runs, family), ""]
    if args.windows:
        with open(args.windows) as f:
            lines += ["## The 64-bit DLL", "", args.windows_note, "", f.read().rstrip(), ""]
    elif args.windows_note:
        lines += ["## The 64-bit DLL", "", args.windows_note, ""]
    return "\n".join(lines)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("json")
    p.add_argument("--out", required=True)
    for name in ("date", "machine", "compiler", "build-type", "repetitions", "windows-note"):
        p.add_argument("--" + name, default="")
    p.add_argument("--windows", help="the output of twinekit_dll_timing")
    args = p.parse_args()
    runs = read_runs(args.json)
    print_lines(runs)
    with open(args.out, "w") as f:
        f.write(report(runs, args))


if __name__ == "__main__":
    main()
