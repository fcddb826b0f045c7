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

MIB = 1 << 20

# The throughput each group of exports should reach at 1 MiB.
THROUGHPUT_TARGETS = [
    ("field, token and count scans", 8e9,
     ["fields/cGet:last", "fields/cGetIn:last", "fields/cGetInR:last", "fields/cGetInPartR",
      "fields/cCount", "fields/cTokenIn:last"]),
    ("byte maps and checks", 4e9,
     ["charsets/cChangeChars", "charsets/cChangeCharsUntil", "charsets/cCheckChars",
      "charsets/cFilterChars", "charsets/cFilterNotChars", "encodings/cCnvASCIItoEBCDIC",
      "encodings/cCnvEBCDICtoASCII", "encodings/cCplDigit", "encodings/cCplAlpha",
      "encodings/cCheckNumericity"]),
    ("hexadecimal out, uncompaction", 3e9, ["encodings/cToHexa", "compress/cUncompact"]),
    ("hexadecimal in, compaction", 2e9, ["encodings/cFromHexa", "compress/cCompact"]),
]

# Search and replace beside its peers at 1 MiB: (case, peer, least ratio).
RATIO_TARGETS = [
    ("fields/cStringSAR", "cpython-replace", 2.0),
    ("fields/cStringSAR:nomatch", "cpython-replace:nomatch", 2.0),
    ("fields/cStringSAR:nomatch", "memmem", 1.0),
]

SHORT_CALL_TARGET_NS = 30
# ...or at most this much above the allocations the call requires (its floor).
FLOOR_MARGIN_NS = 10

# Results this many times their input's size, in the cases measured.
RESULT_SCALE = {"positions/cResizeStringAndFill": 2, "positions/cAlign:centred": 2}

# Why an export may stay below its target whatever the code does.
LIMITS = {
    "charsets/cChangeChars": "one table look-up and one store a byte, as the table-map peer",
    "charsets/cChangeCharsUntil": "one table look-up and one store a byte, and a test of the "
                                  "stop byte",
    "encodings/cCnvASCIItoEBCDIC": "one table look-up and one store a byte, as the table-map peer",
    "encodings/cCnvEBCDICtoASCII": "one table look-up and one store a byte, as the table-map peer",
    "charsets/cFilterChars": "the kept bytes written to the working area, then copied to the "
                             "result",
    "charsets/cFilterNotChars": "the kept bytes written to the working area, then copied to the "
                                "result",
}


def read_runs(paths):
    """{(case, size): run} from the medians, or the single runs, of every file."""
    runs = {}
    for path in paths:
        runs.update(read_one(path))
    return runs


def read_one(path):
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
            "label": r.get("label", ""),
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


def family_table(runs, family, forms):
    """A row a run: the best form's figures, at 16 bytes its floor (the
    allocations of one call), its peer's figures, and the throughput with
    each form of the kernels (forms: [(name, runs)])."""
    form_heads = "".join(f" {name} |" for name, _ in forms)
    out = [f"| export | size | throughput | × memcpy | ns/call | floor ns | peer | peer throughput "
           f"| × peer |{form_heads}", "|---|---|---|---|---|---|---|---|---|" + "---|" * len(forms)]
    for (case, size), r in runs.items():
        if not case.startswith(family + "/"):
            continue
        peer = runs.get(("peer/" + r["peer"], size)) if r["peer"] else None
        peer_cells = (f"{r['peer']} | {rate_text(peer['bps'])} | {ratio(r['bps'], peer['bps'])}"
                      if peer else " | | ")
        form_cells = "".join(
            f" {rate_text(fr[(case, size)]['bps']) if (case, size) in fr else '-'} |"
            for _, fr in forms)
        floor = runs.get(("floor/" + case, size))
        floor_cell = ns_text(floor["ns"]) if floor else ""
        out.append(f"| {case.split('/', 1)[1]} | {size_text(size)} | {rate_text(r['bps'])} | "
                   f"{ratio(r['bps'], memcpy_bps(runs, size))} | {ns_text(r['ns'])} | {floor_cell} | "
                   f"{peer_cells} |{form_cells}")
    return out


def forms_text(forms):
    names = ", ".join(name for name, _ in forms)
    return (f"The kernels (scans, byte maps, hexadecimal digits, text passes) have a form for "
            f"each instruction set; the library picks the best the CPU runs on first use. The "
            f"whole run was made once with each form this CPU runs ({names}, forced with "
            f"TWINEKIT_KERNELS); the columns named for a form give each export's throughput "
            f"with it, and the other columns are the best form's run.")


def export_calls(runs):
    """{case: ns} of every export run at 16 bytes."""
    return {case: r["ns"] for (case, size), r in runs.items()
            if size == 16 and not case.startswith(("peer/", "floor/"))}


def call_cost(runs):
    calls = export_calls(runs)
    fastest, slowest = min(calls, key=calls.get), max(calls, key=calls.get)
    return (f"A call on 16 bytes of text costs {statistics.median(calls.values()):.0f} ns "
            f"(median of the {len(calls)} export runs at 16 bytes; from "
            f"{calls[fastest]:.0f} ns for {fastest.split('/', 1)[1]} to "
            f"{calls[slowest]:.0f} ns for {slowest.split('/', 1)[1]}). "
            f"memcpy of 16 bytes takes {runs[('peer/memcpy', 16)]['ns']:.1f} ns; allocating and "
            f"freeing a 16-byte BSTR, which every string result pays, "
            f"{runs[('peer/bstr-copy', 16)]['ns']:.1f} ns.")


def targets_table(runs):
    out = ["| target | export | at 1 MiB | met | what bounds it |", "|---|---|---|---|---|"]
    for name, least, cases in THROUGHPUT_TARGETS:
        for case in cases:
            bps = runs.get((case, MIB), {}).get("bps", 0.0)
            met = "yes" if bps >= least else "no"
            why = LIMITS.get(case, "") if bps < least else ""
            out.append(f"| {name}: {rate_text(least)} | {case.split('/', 1)[1]} | "
                       f"{rate_text(bps)} | {met} | {why} |")
    # An export whose work is a copy costs at most twice the copy of a
    # BSTR of its result (twice its input's size for those that double it).
    copies = [(case, 0.5 * runs[("peer/bstr-copy", MIB)]["bps"] / RESULT_SCALE.get(case, 1))
              for (case, size), r in runs.items()
              if size == MIB and r["peer"] == "bstr-copy" and ("peer/bstr-copy", MIB) in runs]
    for case, least in copies:
        bps = runs[(case, MIB)]["bps"]
        out.append(f"| half of bstr-copy: {rate_text(least)} | {case.split('/', 1)[1]} | "
                   f"{rate_text(bps)} | {'yes' if bps >= least else 'no'} | |")
    for case, peer, least in RATIO_TARGETS:
        mine = runs.get((case, MIB), {}).get("bps", 0.0)
        theirs = runs.get(("peer/" + peer, MIB), {}).get("bps", 0.0)
        got = mine / theirs if theirs else 0.0
        out.append(f"| {least:g} × {peer} | {case.split('/', 1)[1]} | {got:.2f} × | "
                   f"{'yes' if got >= least else 'no'} | |")
    return out


def meets_short_target(ns, floor):
    return ns <= SHORT_CALL_TARGET_NS or (floor is not None and ns - floor <= FLOOR_MARGIN_NS)


def floor_of(runs, case):
    run = runs.get(("floor/" + case, 16))
    return run["ns"] if run else None


def short_calls(runs):
    calls = export_calls(runs)
    slow = sorted((ns, case.split("/", 1)[1]) for case, ns in calls.items()
                  if not meets_short_target(ns, floor_of(runs, case)))
    listed = ", ".join(f"{name} {ns:.0f} ns" for ns, name in reversed(slow))
    return (f"A call on 16 bytes should cost at most {SHORT_CALL_TARGET_NS} ns, or at most "
            f"{FLOOR_MARGIN_NS} ns more than its floor: {len(calls) - len(slow)} of the "
            f"{len(calls)} export runs at 16 bytes do; short of it: {listed or 'none'}. "
            "The floor of a call is the allocations the frame requires of it and nothing else, "
            "of the sizes one call was seen to allocate: its string result made and freed, and "
            "the working areas it takes from the task allocator (or, for cProperName2's working "
            "copy and list copy, as BSTRs), made and freed in the same order (\"floor/\" "
            "benchmarks, in the same run).")


def short_call_table(runs):
    out = ["| export | ns at 16 B | floor ns | difference | the floor's allocations | met |",
           "|---|---|---|---|---|---|"]
    for case, ns in sorted(export_calls(runs).items(), key=lambda kv: -kv[1]):
        floor = floor_of(runs, case)
        label = runs.get(("floor/" + case, 16), {}).get("label", "")
        floor_cells = (f"{floor:.1f} | {ns - floor:.1f} | {label}" if floor is not None
                       else "- | - | not measured")
        out.append(f"| {case.split('/', 1)[1]} | {ns:.1f} | {floor_cells} | "
                   f"{'yes' if meets_short_target(ns, floor) else 'no'} |")
    return out


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
        "## Targets", "", *targets_table(runs), "", short_calls(runs), "",
        "cMixChars is bound by its algorithm: one swap of two drawn positions per byte, each "
        "swap after the one before; its draws are made ahead, a block at a time.", "",
        "## A call of 16 bytes", "", call_cost(runs), "", *short_call_table(runs), "",
        "## Limits and peers", "", *peer_table(runs), "",
    ]
    forms = [(name, read_one(path)) for name, path in
             (spec.split("=", 1) for spec in args.form)]
    if forms:
        lines += ["## The forms of the kernels", "", forms_text(forms), ""]
    for family in FAMILIES:
        lines += [f"## {family}", "", *family_table(runs, family, forms), ""]
    if args.windows or args.windows_note:
        lines += ["## The DLLs under Wine", "", args.windows_note, ""]
    for spec in args.windows:
        bits, path = spec.split("=", 1)
        with open(path) as f:
            lines += [f"### The {bits}-bit DLL", "", f.read().rstrip(), ""]
    return "\n".join(lines)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("json")
    p.add_argument("--out", required=True)
    for name in ("date", "machine", "compiler", "build-type", "repetitions", "windows-note"):
        p.add_argument("--" + name, default="")
    p.add_argument("--windows", action="append", default=[],
                   help="BITS=FILE: the output of twinekit_dll_timing of that width")
    p.add_argument("--form", action="append", default=[],
                   help="FORM=JSON: the same run with that form of the kernels")
    p.add_argument("--peers", action="append", default=[],
                   help="more peers, in the same JSON layout (benchmarks/cpython_replace.py)")
    args = p.parse_args()
    runs = read_runs([args.json, *args.peers])
    print_lines(runs)
    with open(args.out, "w") as f:
        f.write(report(runs, args))


if __name__ == "__main__":
    main()
