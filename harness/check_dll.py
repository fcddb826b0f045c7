#!/usr/bin/env python3
"""Checks a built DLL (or a program of ours) as the loader and a host see it.

For the DLL: it exports exactly the names of the export table at their
ordinals, none without a name; it calls itself by its file name; it imports
only from KERNEL32, OLEAUT32, OLE32 and msvcrt (no libgcc, libstdc++ or
winpthread DLL); its entry point is the library's own module entry; with
--version, its version resource holds that version (FILEVERSION and
PRODUCTVERSION major,minor,patch,0) and the --string KEY=TEXT values in
the neutral language's string table.  With --imports-only, just the import
check (for the programs; --allow names the DLLs they may import instead),
and with --client-of DLL, that the program imports from that DLL by names of
the export table (undecorated).  With --exports NAME,... (the COM modules),
the DLL exports exactly those names instead of the table's.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import export_table  # noqa: E402

ALLOWED_IMPORTS = "kernel32.dll,oleaut32.dll,ole32.dll,msvcrt.dll"
NEUTRAL_UNICODE = "000004b0"  # language 0, code page 1200, as the string table is keyed
RT_VERSION = 16


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


def imported_names(text, dll):
    """The names that the image of objdump's text imports from dll."""
    chunks = [c.split("\n\n")[0] for c in text.split("DLL Name: ")[1:]
              if c.split()[0].lower() == dll.lower()]
    return [n for c in chunks for n in re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\S+)$", c, re.M)]


def version_resource(image):
    """The raw VS_VERSIONINFO of a PE image, or None."""
    data = open(image, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
                for i in range(count)]

    def offset(rva):
        return next(raw + rva - va for size, va, raw_size, raw in sections
                    if va <= rva < va + max(size, raw_size))

    resources = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    if not resources:
        return None
    base = offset(resources)

    def child(directory, ident=None):  # the entry with that id, or the first
        named, ids = struct.unpack_from("<12xHH", data, directory)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
            if ident is None or key == ident:
                return base + (target & 0x7FFFFFFF)
        return None

    versions = child(base, RT_VERSION)
    language = versions and child(child(versions))
    if not language:
        return None
    rva, size = struct.unpack_from("<II", data, language)
    return data[offset(rva):offset(rva) + size]


def align(n):
    return (n + 3) & ~3


def blocks(raw, pos, end):
    """[(key, value, children)] of the version blocks in raw[pos:end]."""
    out = []
    while pos + 6 <= end:
        length, value_length, text = struct.unpack_from("<HHH", raw, pos)
        key_end = pos + 6
        while raw[key_end:key_end + 2] not in (b"\0\0", b""):
            key_end += 2
        value = align(key_end + 2)
        value_end = value + value_length * (2 if text else 1)
        payload = raw[value:value_end]
        if text:
            payload = payload.decode("utf-16-le").rstrip("\0")
        out.append((raw[pos + 6:key_end].decode("utf-16-le"), payload,
                    blocks(raw, align(value_end), pos + length)))
        pos = align(pos + max(length, 6))
    return out


def version_problems(image, version, strings):
    raw = version_resource(image)
    if raw is None:
        return ["no version resource"]
    _, fixed, children = blocks(raw, 0, len(raw))[0]
    major, minor, patch = (int(n) for n in version.split("."))
    numbers = ((major << 16) | minor, patch << 16)
    problems = []
    signature, _, *found = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD or found != [*numbers, *numbers]:
        problems.append(f"fixed version info {[hex(n) for n in found]}, want {version}.0 twice")
    tables = {key: {k: v for k, v, _ in table} for name, _, kids in children
              if name == "StringFileInfo" for key, _, table in kids}
    got = tables.get(NEUTRAL_UNICODE, {})
    if set(tables) != {NEUTRAL_UNICODE}:
        problems.append(f"string tables {sorted(tables)}, want {NEUTRAL_UNICODE} alone")
    problems += [f"version string {k} is {got.get(k)!r}, want {v!r}"
                 for k, v in (s.split("=", 1) for s in strings) if got.get(k) != v]
    translations = [v for name, _, kids in children if name == "VarFileInfo"
                    for key, v, _ in kids if key == "Translation"]
    if translations != [struct.pack("<HH", 0, 1200)]:
        problems.append(f"translations {translations}, want language 0, code page 1200")
    return problems


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
    ap.add_argument("--allow", default=ALLOWED_IMPORTS)
    ap.add_argument("--client-of")
    ap.add_argument("--exports")
    ap.add_argument("--version")
    ap.add_argument("--string", action="append", default=[])
    ap.add_argument("image")
    a = ap.parse_args()

    text = objdump(a.objdump, "-p", a.image)
    problems = []
    fmt = "pei-x86-64" if a.bits == 64 else "pei-i386"
    if f"file format {fmt}" not in text:
        problems.append(f"not a {fmt} image")
    imports = re.findall(r"DLL Name: (\S+)", text)
    allowed = a.allow.lower().split(",")
    problems += [f"imports from {d}" for d in imports if d.lower() not in allowed]

    table = {e.ordinal: e.name for e in export_table.read(a.table)} if a.table else {}
    if a.client_of:
        called = imported_names(text, a.client_of)
        problems += [f"imports {n} from {a.client_of}, which exports no such name"
                     for n in called if n not in table.values()]
        if not called:
            problems.append(f"imports nothing from {a.client_of}")
    if not a.imports_only:
        module, names, addressed = exports(text)
        if module != os.path.basename(a.image):
            problems.append(f"the DLL calls itself {module}")
        if a.exports:
            want = sorted(a.exports.split(","))
            if sorted(names.values()) != want:
                problems.append(f"exports {sorted(names.values())}, want {want}")
        else:
            problems += [f"ordinal {o}: exported {names.get(o)}, want {table.get(o)}"
                         for o in sorted(set(names) | set(table)) if names.get(o) != table.get(o)]
        problems += [f"ordinal {o} is exported without a name" for o in sorted(addressed - set(names))]
        problems += entry_problems(a.objdump, a.image, text, a.entry)
    if a.version:
        problems += version_problems(a.image, a.version, a.string)

    label = os.path.basename(a.image)
    for p in problems:
        print(f"FAIL {label}: {p}")
    if not problems:
        print(f"ok {label}: imports {', '.join(imports)}" +
              ("" if a.imports_only else
               f"; exports {a.exports}, entry {a.entry}" if a.exports else
               f"; {len(table)} exports at their ordinals, entry {a.entry}") +
              (f"; version {a.version} with {len(a.string)} strings" if a.version else "") +
              (f"; {len(called)} exports by name" if a.client_of else ""))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
