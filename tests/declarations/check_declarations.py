#!/usr/bin/env python3
"""Checks the Basic declarations module against the export table.

  check_declarations.py TwineKit.bas export_table.h twinekit.h [VERSION]

The module has two branches, "#If VBA7 And Win64 Then" (PtrSafe
declarations of TWINEKIT64.DLL) and "#Else" (plain declarations of
TWINEKIT.DLL), and declares every export exactly once in each: Sub for an
export with no result, otherwise Function with the result's type; each
argument ByRef/ByVal with the type of its kind, in the export's order, under
its name in the C header (a name that is a reserved word of the language is
lengthened: Stop -> StopChars), which is the name the export table's column of
argument names (the COM interface's) gives.  The
loader, TwineKitLoad, is there once, and each branch declares its system
functions, LoadLibraryA and GetFileAttributesA, as that branch must.  With
VERSION (the module as shipped), its second line is "' TwineKit VERSION".
"""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import export_table  # noqa: E402

ARG = {"R": "ByRef String", "W": "ByRef String", "V": "ByVal String",
       "L": "ByVal Long", "I": "ByVal Integer", "X": "ByRef Variant"}
RESULT = {"S": "Function String", "I": "Function Integer", "L": "Function Long",
          "X": "Function Variant", "N": "Sub None"}
BRANCHES = {"64": ("TWINEKIT64.DLL", "PtrSafe"), "32": ("TWINEKIT.DLL", "")}
# The loader's declarations in each branch: name -> (name, lib, PtrSafe,
# result, arguments).
FILE_NAME = [("ByVal String", "FileName")]
LOADER = {"64": {"LoadLibraryA": ("LoadLibraryA", "kernel32", "PtrSafe", "Function LongPtr", FILE_NAME),
                 "GetFileAttributesA": ("GetFileAttributesA", "kernel32", "PtrSafe", "Function Long", FILE_NAME)},
          "32": {"LoadLibraryA": ("LoadLibraryA", "kernel32", "", "Function Long", FILE_NAME),
                 "GetFileAttributesA": ("GetFileAttributesA", "kernel32", "", "Function Long", FILE_NAME)}}
LOADER_FUNCTION = re.compile(r"^Public Function TwineKitLoad\(ByVal Folder As String\) As String$", re.M)
RESERVED = {w.lower() for w in """
    And Any As Boolean ByRef Byte ByVal Call Case Close Const Currency Date Declare
    Dim Do Double Each Else ElseIf Empty End Enum Eqv Erase Error Event Exit False For
    Friend Function Get Global GoSub GoTo If Imp Implements In Input Integer Is Let
    Like Lock Long LongLong LongPtr Loop LSet Me Mod New Next Not Nothing Null On Open
    Option Optional Or ParamArray Preserve Print Private Public Put RaiseEvent ReDim
    Rem Resume Return RSet Seek Select Set Single Static Step Stop String Sub Then To
    True Type TypeOf Unlock Until Variant Wend While With WithEvents Write Xor
""".split()}
DECLARE = re.compile(r'^(?:Public\s+|Private\s+)?Declare\s+(PtrSafe\s+)?(Function|Sub)\s+(\w+)'
                     r'\s+Lib\s+"([^"]+)"\s*\((.*)\)\s*(?:As\s+(\w+))?$', re.I)


def expected(table, header):
    """Each export's declaration in a normal form: kind, result and arguments."""
    kinds = {e.name: (e.args, e.result) for e in export_table.read(table)}
    out = {}
    for name, params in re.findall(r"TK_CALL\s+(c\w+)\(([^)]*)\);", header):
        names = [re.findall(r"\w+", p)[-1] for p in params.split(",") if p.strip()]
        args, result = kinds[name]
        out[name] = (RESULT[result], [(ARG[k], n) for k, n in zip(args, names[-len(args):])])
    return out


def declared(line):
    """(name, lib, ptrsafe, kind and result, normalised arguments) of a Declare line."""
    m = DECLARE.match(line)
    if not m:
        return None
    ptrsafe, what, name, lib, params, result = m.groups()
    args = [(f"{p[0]} {p[3]}", p[1]) for p in (p.split() for p in params.split(",") if p.strip())]
    return name, lib, "PtrSafe" if ptrsafe else "", f"{what} {result or 'None'}", args


def same_name(basic, c):
    """The C header's name, or a reserved one lengthened (Stop -> StopChars)."""
    if basic.lower() in RESERVED:
        return False
    return basic == c or (c.lower() in RESERVED and basic.startswith(c) and basic != c)


def main():
    bas, table, header, *version = sys.argv[1:]
    want = expected(table, open(header).read())
    table_names = export_table.argument_names(table)
    problems, seen, branch = [], {"64": set(), "32": set()}, None
    text = open(bas, encoding="latin-1").read().replace("\r\n", "\n").replace(" _\n", " ")
    stamp = (text.split("\n") + [""])[1]
    if version and stamp != f"' TwineKit {version[0]}":
        problems.append(f"{bas}:2: {stamp!r}, want the version line ' TwineKit {version[0]}")
    for number, line in enumerate(text.split("\n"), 1):
        code = line.strip()
        if re.match(r"^#If\s+VBA7\s+And\s+Win64\s+Then$", code, re.I):
            branch = "64"
        elif re.match(r"^#Else$", code, re.I):
            branch = "32"
        elif re.match(r"^#End\s*If$", code, re.I):
            branch = None
        d = declared(code)
        if d is None:
            if re.match(r"^(Public\s+|Private\s+)?Declare\b", code):
                problems.append(f"{bas}:{number}: cannot read {code}")
            continue
        name, lib, ptrsafe, result, args = d
        where = f"{bas}:{number}: {name}"
        if branch is not None and name in LOADER[branch] and name not in seen[branch]:
            seen[branch].add(name)
            if d != LOADER[branch][name]:
                problems.append(f"{where}: declared {d}, want {LOADER[branch][name]}")
            continue
        if branch is None or name in seen[branch] or name not in want:
            problems.append(f"{where}: not an export, outside the branches, or declared twice")
            continue
        seen[branch].add(name)
        if table_names.get(name) != [n for _, n in args]:
            problems.append(f"{where}: arguments named {[n for _, n in args]}, "
                            f"the export table's list names {table_names.get(name)}")
        if (lib, ptrsafe) != BRANCHES[branch]:
            problems.append(f"{where}: from {lib} {ptrsafe}, want {BRANCHES[branch]}")
        want_result, want_args = want[name]
        if (result != want_result or [a for a, _ in args] != [a for a, _ in want_args] or
                not all(same_name(b, c) for (_, b), (_, c) in zip(args, want_args))):
            problems.append(f"{where}: declared {result} {args}, want {want[name]}")
    for branch, names in seen.items():
        problems += [f"{bas}: {n} is not declared in the {branch}-bit branch"
                     for n in sorted((set(want) | set(LOADER[branch])) - names)]
    if len(LOADER_FUNCTION.findall(text)) != 1:
        problems.append(f"{bas}: no TwineKitLoad(ByVal Folder As String) As String")
    for p in problems:
        print("FAIL", p)
    print(f"ok: {bas} declares all {len(want)} exports and the loader in both branches"
          if not problems else "")
    return 1 if problems or len(want) != 64 else 0


if __name__ == "__main__":
    sys.exit(main())
