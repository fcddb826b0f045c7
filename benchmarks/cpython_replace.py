#!/usr/bin/env python3
"""Times CPython's bytes.replace on the texts of cStringSAR's benchmarks.

Reads DIR/prose-N.txt and DIR/prose-nomatch-N.txt (written by
twinekit_benchmarks with TK_BENCH_INPUTS=DIR), replaces "abc" by "XYZW" as
cStringSAR's cases do, and writes the fastest of five batches as the
peers cpython-replace and cpython-replace:nomatch, in the JSON layout of
Google Benchmark's medians, for benchmarks/report.py.
"""
import json
import sys
import timeit

SIZES = (16, 1024, 1 << 20)


def time_replace(text):
    batch = max(1, 20_000_000 // len(text))
    best = min(timeit.repeat(lambda: text.replace(b"abc", b"XYZW"), number=batch, repeat=5))
    return best / batch


def main():
    directory, out = sys.argv[1], sys.argv[2]
    rows = []
    for name, peer in (("prose", "cpython-replace"), ("prose-nomatch", "cpython-replace:nomatch")):
        for n in SIZES:
            with open(f"{directory}/{name}-{n}.txt", "rb") as f:
                seconds = time_replace(f.read())
            rows.append({"run_name": f"peer/{peer}/{n}", "aggregate_name": "median",
                         "cpu_time": seconds * 1e9, "time_unit": "ns",
                         "bytes_per_second": n / seconds})
    with open(out, "w") as f:
        json.dump({"benchmarks": rows}, f)


if __name__ == "__main__":
    main()
