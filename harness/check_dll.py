#!/usr/bin/env python3
"""Checks a built DLL (or the harness) as the loader and a host see it.

For the DLL: it exports exactly the names of the export table at their
ordinals, none without a name; it calls itself by its file name; it imports
only from KERNEL32, OLEAUT32, OLE32 and msvcrt (no libgcc, libstdc++ or
winpthread DLL); its entry point is the library's own module entry.  With
--imports-only, just the import check (for the harness).
"""
import argparse
import os
import re
import subprocess
import sys

ALLOWED_IMPORTS = {"kernel32.dll", "oleaut32.dll", "ole32.dll", "msvcrt.dll"}


def objdump(tool, *args):
    return subprocess.run([tool, *args], check=True, capture_output=True, text=True).stdout


def exports(text):
    """The module's own name, {ordinal: name}, and the ordinals with an address."""
    module = re.search(r"^Name\s+\S+ (\S+)$", text, re.M)
    base = int(re.search(r"Ordinal Base (\d+)", text).group(1)) if "Ordinal Base" in text else 0
    names_part = text.split("[Ordinal/Name Pointer] Table")[-1].split("\n\n")[0]
    names = {base + int(o): n for o, n in re.findall(r"^\s*\[\s*(\d+)\] (\S+)$", names_part, re.M)}
    addressed = {int(o) for o, a in re.findall(r"\+base\[\s*(\d+)\]\s+([0-9a-fA-F]+)", text)
                 if int(a, 16) != 0}
    return module and module.group(1), names, addressed


def entry_problems(tool, dll, text, symbol):
    fields = dict(re.findall(r"^(AddressOfEntryPoint|ImageBase)\s+([0-9a-fA-F]+)", text, re.M))
    entry = int(fields.get("AddressOfEntryPoint", "0"), 16)
    sections = {int(n) + 1: int(vma, 16) for n, vma in
                re.findall(r"^\s*(\d+)\s+\S+\s+[0-9a-f]+\s+([0-9a-f]+)", objdump(tool, "-h", dll), re.M)}
    m = re.search(r"\(sec\s+(\d+)\).*0x([0-9a-f]+) " + re.escape(symbol) + "$",
                  objdump(tool, "-t", dll), re.M)
    if not m:
        return [f"no symbol {symbol} to compare the entry point with"]
    address = sections[int(m.group(1))] - int(fields.get("ImageBase", "0"), 16) + int(m.group(2), 16)
    return [] if address == entry else [f"the entry point is at {entry:#x}, {symbol} at {address:#x}"]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--bits", type=int, choices=(32, 64), required=True)
    ap.add_argument("--table")
    ap.add_argument("--entry")
    ap.add_argument("--imports-only", action="store_true")
    ap.add_argument("image")
    a = ap.parse_args()

    text = objdump(a.objdump, "-p", a.image)
    problems = []
    fmt = "pei-x86-64" if a.bits == 64 else "pei-i386"
    if f"file format {fmt}" not in text:
        problems.append(f"not a {fmt} image")
    imports = re.findall(r"DLL Name: (\S+)", text)
    problems += [f"imports from {d}" for d in imports if d.lower() not in ALLOWED_IMPORTS]

    if not a.imports_only:
        table = {int(o): n for n, o in re.findall(r'X\((c\w+), (\d+),', open(a.table).read())}
        module, names, addressed = exports(text)
        if module != os.path.basename(a.image):
            problems.append(f"the DLL calls itself {module}")
        problems += [f"ordinal {o}: exported {names.get(o)}, want {table.get(o)}"
                     for o in sorted(set(names) | set(table)) if names.get(o) != table.get(o)]
        problems += [f"ordinal {o} is exported without a name" for o in sorted(addressed - set(names))]
        problems += entry_problems(a.objdump, a.image, text, a.entry)

    label = os.path.basename(a.image)
    for p in problems:
        print(f"FAIL {label}: {p}")
    if not problems:
        print(f"ok {label}: imports {', '.join(imports)}" +
              ("" if a.imports_only else f"; {len(table)} exports at their ordinals, entry {a.entry}"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
