#!/usr/bin/env python3
"""Checks the Basic declarations module against the export table.

  check_declarations.py TwineKit.bas export_table.h twinekit.h

The module has two branches, "#If VBA7 And Win64 Then" (PtrSafe
declarations of TWINEKIT64.DLL) and "#Else" (plain declarations of
TWINEKIT.DLL), and declares every export exactly once in each: Sub for an
export with no result, otherwise Function with the result's type; each
argument ByRef/ByVal with the type of its kind, in the export's order, under
its name in the C header (a name that is a reserved word of the language is
lengthened: Stop -> StopChars).
"""
import re
import sys

ARG = {"R": ("ByRef", "String"), "W": ("ByRef", "String"), "V": ("ByVal", "String"),
       "L": ("ByVal", "Long"), "I": ("ByVal", "Integer"), "X": ("ByRef", "Variant")}
RESULT = {"S": "String", "I": "Integer", "L": "Long", "X": "Variant", "N": None}
BRANCHES = {"64": ("TWINEKIT64.DLL", True), "32": ("TWINEKIT.DLL", False)}

# Words a Basic argument cannot be called.
RESERVED = {w.lower() for w in """
    And Any As Boolean ByRef Byte ByVal Call Case Close Const Currency Date Declare
    Dim Do Double Each Else ElseIf Empty End Enum Eqv Erase Error Event Exit False For
    Friend Function Get Global GoSub GoTo If Imp Implements In Input Integer Is Let
    Like Lock Long LongLong LongPtr Loop LSet Me Mod New Next Not Nothing Null On Open
    Option Optional Or ParamArray Preserve Print Private Public Put RaiseEvent ReDim
    Rem Resume Return RSet Seek Select Set Single Static Step Stop String Sub Then To
    True Type TypeOf Unlock Until Variant Wend While With WithEvents Write Xor
""".split()}


def read_table(path):
    text = open(path, encoding="ascii").read()
    rows = re.findall(r'X\((c[A-Za-z0-9]+), (\d+), "([A-Z]*)", \'([A-Z])\'\)', text)
    return {name: (kinds, result) for name, _, kinds, result in rows}


def read_header_names(path):
    """Argument names of each export, without the hidden Variant result."""
    text = open(path, encoding="ascii").read()
    names = {}
    for m in re.finditer(r"TK_API\s+[^;]*?TK_CALL\s+(c\w+)\(([^)]*)\);", text):
        params = [re.findall(r"\w+", p)[-1] for p in m.group(2).split(",") if p.strip()]
        if params[:1] == ["Result"]:
            continue
        names[m.group(1)] = params
    return names


def logical_lines(path):
    raw = open(path, encoding="latin-1").read().replace("\r\n", "\n").split("\n")
    line, number = "", 0
    for i, piece in enumerate(raw, 1):
        if not line:
            number = i
        if piece.endswith(" _"):
            line += piece[:-1]
            continue
        yield number, line + piece
        line = ""


DECLARE = re.compile(
    r'^(?:Public\s+|Private\s+)?Declare\s+(PtrSafe\s+)?(Function|Sub)\s+(\w+)\s+Lib\s+"([^"]+)"'
    r'(?:\s+Alias\s+"([^"]+)")?\s*\((.*)\)\s*(?:As\s+(\w+))?\s*$', re.I)
PARAM = re.compile(r"^(ByRef|ByVal)\s+(\w+)\s+As\s+(\w+)$", re.I)


def check(bas, table, header_names):
    problems = []
    declared = {"64": {}, "32": {}}
    branch = None
    for number, line in logical_lines(bas):
        code = line.strip()
        where = f"{bas}:{number}"
        if re.match(r"^#If\s+VBA7\s+And\s+Win64\s+Then$", code, re.I):
            branch = "64"
        elif re.match(r"^#Else$", code, re.I) and branch == "64":
            branch = "32"
        elif re.match(r"^#End\s*If$", code, re.I):
            branch = None
        elif code.startswith("#"):
            problems.append(f"{where}: unexpected directive {code}")
        m = DECLARE.match(code)
        if not m:
            if re.search(r"\bDeclare\b", code) and not code.startswith("'"):
                problems.append(f"{where}: cannot read the declaration {code}")
            continue
        ptrsafe, what, name, lib, alias, params, result = m.groups()
        if branch is None:
            problems.append(f"{where}: {name} declared outside the two branches")
            continue
        if name in declared[branch]:
            problems.append(f"{where}: {name} declared twice in the {branch}-bit branch")
        declared[branch][name] = True
        want_lib, want_ptrsafe = BRANCHES[branch]
        if lib != want_lib:
            problems.append(f"{where}: {name} from {lib}, want {want_lib}")
        if bool(ptrsafe) != want_ptrsafe:
            problems.append(f"{where}: {name} {'with' if ptrsafe else 'without'} PtrSafe")
        if alias and alias != name:
            problems.append(f"{where}: {name} aliased to {alias}")
        if name not in table:
            problems.append(f"{where}: {name} is not an export")
            continue
        kinds, result_kind = table[name]
        want_result = RESULT[result_kind]
        if want_result is None:
            if what.lower() != "sub" or result:
                problems.append(f"{where}: {name} has no result and must be a Sub")
        elif what.lower() != "function" or (result or "").lower() != want_result.lower():
            problems.append(f"{where}: {name} must be a Function As {want_result}")
        args = [p.strip() for p in params.split(",")] if params.strip() else []
        if len(args) != len(kinds):
            problems.append(f"{where}: {name} takes {len(kinds)} arguments, declared {len(args)}")
            continue
        for i, (arg, kind) in enumerate(zip(args, kinds)):
            pm = PARAM.match(arg)
            if not pm:
                problems.append(f"{where}: {name} argument {i + 1} unreadable: {arg}")
                continue
            passing, arg_name, arg_type = pm.groups()
            want_passing, want_type = ARG[kind]
            if passing.lower() != want_passing.lower() or arg_type.lower() != want_type.lower():
                problems.append(f"{where}: {name} argument {i + 1} is {passing} As {arg_type}, "
                                f"want {want_passing} As {want_type}")
            c_name = header_names.get(name, [None] * len(kinds))[i]
            if arg_name.lower() in RESERVED:
                problems.append(f"{where}: {name} argument {arg_name} is a reserved word")
            elif c_name is None:
                problems.append(f"{where}: {name} has no argument names in the header")
            elif c_name.lower() in RESERVED:
                if not arg_name.lower().startswith(c_name.lower()) or arg_name == c_name:
                    problems.append(f"{where}: {name} argument {arg_name}, want {c_name} lengthened")
            elif arg_name != c_name:
                problems.append(f"{where}: {name} argument {i + 1} is {arg_name}, want {c_name}")
    for branch, names in declared.items():
        for name in sorted(set(table) - set(names)):
            problems.append(f"{bas}: {name} is not declared in the {branch}-bit branch")
    return problems


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    bas, table_path, header = sys.argv[1:]
    table = read_table(table_path)
    if len(table) != 64:
        print(f"FAIL: read {len(table)} exports from {table_path}, want 64")
        return 1
    problems = check(bas, table, read_header_names(header))
    for p in problems:
        print("FAIL", p)
    if not problems:
        print(f"ok: {bas} declares all {len(table)} exports in both branches")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
