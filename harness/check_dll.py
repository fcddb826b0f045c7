#!/usr/bin/env python3
"""Checks a built DLL (or the harness) as the loader and a host see it.

For the DLL: it exports exactly the names of the module-definition file
that the build generated, at their ordinals, and nothing else; those names
and ordinals agree with the export table; it calls itself by its file name;
it imports only from KERNEL32, OLEAUT32, OLE32 and msvcrt (no libgcc,
libstdc++ or winpthread DLL); its entry point is the library's own module
entry.  With --imports-only, just the import check (for the harness).
"""
import argparse
import re
import subprocess
import sys

ALLOWED_IMPORTS = {"kernel32.dll", "oleaut32.dll", "ole32.dll", "msvcrt.dll"}


def objdump(tool, *args):
    out = subprocess.run([tool, *args], check=True, capture_output=True, text=True)
    return out.stdout


def parse_exports(text):
    """Returns (module name, {ordinal: name}, set of ordinals with an address)."""
    module = None
    base = None
    names = {}
    addressed = set()
    section = None
    for line in text.splitlines():
        if line.startswith("Name ") and module is None:
            module = line.split()[-1]
        m = re.match(r"Export Address Table -- Ordinal Base (\d+)", line)
        if m:
            base = int(m.group(1))
            section = "eat"
            continue
        if line.startswith("[Ordinal/Name Pointer] Table"):
            section = "names"
            continue
        if not line.strip():
            if section == "names":
                section = None
            continue
        if section == "eat":
            m = re.match(r"\s*\[\s*(\d+)\] \+base\[\s*(\d+)\]\s+([0-9a-fA-F]+)", line)
            if m and int(m.group(3), 16) != 0:
                addressed.add(int(m.group(2)))
        elif section == "names":
            m = re.match(r"\s*\[\s*(\d+)\] (\S+)$", line)
            if m:
                names[base + int(m.group(1))] = m.group(2)
    return module, names, addressed


def parse_imports(text):
    return [m.group(1) for m in re.finditer(r"DLL Name: (\S+)", text)]


def parse_def(path):
    library, exports = None, {}
    for line in open(path, encoding="ascii"):
        m = re.match(r'LIBRARY\s+"?([^"\s]+)"?', line)
        if m:
            library = m.group(1)
        m = re.match(r"\s+(c[A-Za-z0-9]+) @(\d+)\s*$", line)
        if m:
            exports[int(m.group(2))] = m.group(1)
    return library, exports


def parse_table(path):
    text = open(path, encoding="ascii").read()
    return {int(o): n for n, o in re.findall(r'X\((c[A-Za-z0-9]+), (\d+), "[A-Z]*", \'[A-Z]\'\)', text)}


def entry_checks(tool, dll, header_text, entry_symbol):
    problems = []
    fields = dict(re.findall(r"^(AddressOfEntryPoint|ImageBase)\s+([0-9a-fA-F]+)", header_text, re.M))
    entry = int(fields.get("AddressOfEntryPoint", "0"), 16)
    image_base = int(fields.get("ImageBase", "0"), 16)
    if entry == 0:
        return ["the DLL has no entry point"]
    if entry_symbol:
        sections = {}
        for m in re.finditer(r"^\s*(\d+)\s+(\S+)\s+[0-9a-f]+\s+([0-9a-f]+)", objdump(tool, "-h", dll), re.M):
            sections[int(m.group(1)) + 1] = int(m.group(3), 16)
        symbols = objdump(tool, "-t", dll)
        m = re.search(r"\(sec\s+(\d+)\).*0x([0-9a-f]+) " + re.escape(entry_symbol) + "$", symbols, re.M)
        if not m:
            problems.append(f"no symbol {entry_symbol} to compare the entry point with")
        else:
            address = sections[int(m.group(1))] - image_base + int(m.group(2), 16)
            if address != entry:
                problems.append(f"the entry point is at {entry:#x}, {entry_symbol} at {address:#x}")
    return problems


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--bits", type=int, choices=(32, 64), required=True)
    ap.add_argument("--def", dest="deffile")
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

    imports = parse_imports(text)
    for dll in imports:
        if dll.lower() not in ALLOWED_IMPORTS:
            problems.append(f"imports from {dll}, outside {sorted(ALLOWED_IMPORTS)}")

    if not a.imports_only:
        if "DLL" not in text.split("Time/Date")[0]:
            problems.append("the image is not marked as a DLL")
        module, names, addressed = parse_exports(text)
        library, wanted = parse_def(a.deffile)
        table = parse_table(a.table)
        if len(table) != 64:
            problems.append(f"read {len(table)} exports from {a.table}, want 64")
        for ordinal, name in wanted.items():
            if table.get(ordinal) != name:
                problems.append(f"the .def has {name} @{ordinal}, the export table {table.get(ordinal)}")
        if module != library:
            problems.append(f"the DLL calls itself {module}, the .def {library}")
        if names != wanted:
            for o in sorted(set(names) | set(wanted)):
                if names.get(o) != wanted.get(o):
                    problems.append(f"ordinal {o}: exported {names.get(o)}, want {wanted.get(o)}")
        for o in sorted(addressed - set(names)):
            problems.append(f"ordinal {o} is exported without a name")
        problems += entry_checks(a.objdump, a.image, text, a.entry)

    label = a.image.rsplit("/", 1)[-1]
    for p in problems:
        print(f"FAIL {label}: {p}")
    if problems:
        return 1
    if a.imports_only:
        print(f"ok {label}: imports {', '.join(imports)}")
    else:
        print(f"ok {label}: {len(names)} exports at their ordinals, imports {', '.join(imports)}, "
              f"entry {a.entry or 'present'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
