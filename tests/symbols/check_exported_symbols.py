#!/usr/bin/env python3
"""Checks the global symbols the native libraries define.

The shipped libraries (libtwinekit.so, libtwinekit.a) must define exactly the
exports of the export table and the OLE Automation functions; the test
variant (libtwinekit_testing.so) those and the tk_test_* hooks.  A shared
library is read with `nm -D --defined-only`, a static one with
`nm --defined-only -g`.
"""
import argparse
import re
import subprocess
import sys

OLE_FUNCTIONS = {
    "SysAllocStringByteLen", "SysAllocStringLen", "SysStringByteLen",
    "SysStringLen", "SysFreeString", "VariantInit", "VariantClear",
    "VariantCopy", "VariantChangeType",
}

# What the linker itself adds to every shared object.
TOOLCHAIN_SYMBOLS = {"_init", "_fini", "__bss_start", "_edata", "_end"}

EXPORT_COUNT = 64


def export_names(table_path):
    # Rows are either {"cAddDigit", 1, ...} or X(cAddDigit, 1, ...).
    text = open(table_path, encoding="utf-8").read()
    return set(re.findall(r'(?:\{"|\bX\()(c[A-Z][A-Za-z0-9]*)', text))


def hook_names(header_path):
    text = open(header_path, encoding="utf-8").read()
    return set(re.findall(r"\b(tk_test_\w+)\s*\(", text))


def defined_globals(nm, library):
    static = library.endswith(".a")
    command = [nm, "--defined-only", "-g" if static else "-D", library]
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        fields = line.split()
        # Skip blank lines and the "member.o:" headers of an archive.
        if not fields or line.endswith(":"):
            continue
        names.add(fields[-1])
    return names - TOOLCHAIN_SYMBOLS


def check(nm, library, expected):
    found = defined_globals(nm, library)
    ok = True
    for name in sorted(found - expected):
        print(f"{library}: unexpected global symbol {name}")
        ok = False
    for name in sorted(expected - found):
        print(f"{library}: missing export {name}")
        ok = False
    if ok:
        print(f"{library}: {len(found)} global symbols, as expected")
    return ok


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--table", required=True)
    parser.add_argument("--hooks", required=True)
    parser.add_argument("--shipped", nargs="+", default=[])
    parser.add_argument("--testing", nargs="+", default=[])
    args = parser.parse_args()

    exports = export_names(args.table)
    if len(exports) != EXPORT_COUNT:
        print(f"{args.table}: read {len(exports)} export names, expected {EXPORT_COUNT}")
        return 1
    hooks = hook_names(args.hooks)
    if not hooks:
        print(f"{args.hooks}: no tk_test_* declarations found")
        return 1

    shipped = exports | OLE_FUNCTIONS
    results = [check(args.nm, lib, shipped) for lib in args.shipped]
    results += [check(args.nm, lib, shipped | hooks) for lib in args.testing]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
