#!/usr/bin/env python3
"""The export table, src/exports/export_table.h, as every script reads it.

    import export_table; export_table.read(path) -> [Export(name, ordinal, args, result, params)]
    export_table.argument_names(path) -> {name: [argument name, ...]}

Run as a program, it writes a DLL's module-definition file from the table
(every export under its own name at its ordinal, and the library's file
name) and, with a second output, the file the 32-bit import libraries are
made from, each name decorated as a stdcall caller references it
(name@bytes):

    export_table.py TABLE LIBRARY_NAME OUT.def [STDCALL_OUT.def]
"""
import os
import re
import sys
from typing import NamedTuple

DEFAULT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "exports",
                       "export_table.h")
ROW = re.compile(r"^\s*X\((c\w+), (\d+), \"([A-Z]*)\", '([A-Z])', \"([A-Za-z0-9 ]*)\"\)", re.M)


class Export(NamedTuple):
    name: str
    ordinal: int
    args: str    # argument kinds, one letter each (see export_table.h)
    result: str  # result kind
    params: list  # argument names, one for each kind

    def stdcall_bytes(self):
        # Every argument is one 4-byte slot on 32-bit (a string by value is
        # its BSTR, the other strings and the Variant are addresses, an
        # Integer is widened), and a Variant result comes through an
        # address passed first.
        return 4 * (len(self.args) + (self.result == "X"))


def read(path=DEFAULT):
    with open(path) as f:
        rows = [Export(n, int(o), a, r, p.split()) for n, o, a, r, p in ROW.findall(f.read())]
    if len(rows) != 64 or [e.ordinal for e in rows] != list(range(1, 65)):
        sys.exit(f"{path}: {len(rows)} exports in ordinals other than 1 to 64")
    if any(len(e.params) != len(e.args) for e in rows):
        sys.exit(f"{path}: an export whose argument names do not match its kinds")
    return rows


def argument_names(path=DEFAULT):
    """The names of each export's arguments, in order."""
    return {e.name: e.params for e in read(path)}


def write_if_different(path, text):
    if os.path.exists(path) and open(path, newline="").read() == text:
        return
    with open(path, "w", newline="\n") as f:
        f.write(text)


def main():
    table, library, out, *stdcall_out = sys.argv[1:]
    exports = read(table)
    head = f'LIBRARY "{library}"\nEXPORTS\n'
    write_if_different(out, f"; The exports of {library}, written from the export table.\n" + head +
                       "".join(f"  {e.name} @{e.ordinal}\n" for e in exports))
    if stdcall_out:
        write_if_different(stdcall_out[0],
                           f"; The exports of {library} as stdcall callers name them.\n" + head +
                           "".join(f"  {e.name}@{e.stdcall_bytes()} @{e.ordinal}\n" for e in exports))


if __name__ == "__main__":
    main()
