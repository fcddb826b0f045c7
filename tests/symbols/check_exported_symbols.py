#!/usr/bin/env python3
"""Checks the global symbols the native libraries define.

  check_exported_symbols.py NM TABLE HOOKS_HEADER SHIPPED... -- TESTING...

The shipped libraries (libtwinekit.so, libtwinekit.a) define exactly the
exports of the export table and the OLE Automation functions; the test
variant (libtwinekit_testing.so) those and the tk_test_* hooks.
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import export_table  # noqa: E402

OLE = {"SysAllocStringByteLen", "SysAllocStringLen", "SysStringByteLen", "SysStringLen",
       "SysFreeString", "VariantInit", "VariantClear", "VariantCopy", "VariantChangeType"}
TOOLCHAIN = {"_init", "_fini", "__bss_start", "_edata", "_end"}  # in every shared object


def defined_globals(nm, library):
    flag = "-g" if library.endswith(".a") else "-D"
    out = subprocess.run([nm, "--defined-only", flag, library], check=True,
                         capture_output=True, text=True).stdout
    return {line.split()[-1] for line in out.splitlines()
            if line.strip() and not line.endswith(":")} - TOOLCHAIN


def main():
    nm, table, header, *libraries = sys.argv[1:]
    exports = {e.name for e in export_table.read(table)}
    hooks = set(re.findall(r"\b(tk_test_\w+)\s*\(", open(header).read()))
    assert len(exports) == 64 and hooks, "cannot read the export table or the hooks"
    split = libraries.index("--")
    wanted = [(lib, exports | OLE) for lib in libraries[:split]]
    wanted += [(lib, exports | OLE | hooks) for lib in libraries[split + 1:]]
    ok = True
    for library, expected in wanted:
        found = defined_globals(nm, library)
        for name in sorted(found ^ expected):
            print(f"{library}: {'unexpected' if name in found else 'missing'} symbol {name}")
        ok = ok and found == expected
        print(f"{library}: {len(found)} global symbols{'' if found == expected else ', not as expected'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
