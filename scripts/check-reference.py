#!/usr/bin/env python3
"""Checks docs/reference.md against the library.

  check-reference.py docs/reference.md path/to/tkcall

Fails when an export of src/exports/export_table.h has no "### name"
section, or a section names no export; when a section's Basic declaration
(```basic) is not the 32-bit line of basic/TwineKit.bas or its C prototype
(```c) not the declaration of include/twinekit.h; when an example line
(```cases) is not a line of tests/cases/*.cases; and when tkcall --check,
run over the examples, reports one that the library answers otherwise.
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

import export_table

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def read(path):
    with open(os.path.join(ROOT, path), encoding="latin-1") as f:
        return f.read()


def tokens(line):
    """The blank-separated pieces of a case line, as tools/hostcall splits it."""
    return " ".join(re.findall(r"(?:'(?:\\.|[^'\\])*'|[^\s'])+'?", line.strip()))


def c_declarations(text, name):
    return [" ".join(d.split()) for d in re.findall(rf"TK_API\b[^;]*?\b{name}\([^;]*\);", text)]


def sections(lines):
    """name -> {"line": n, "basic"|"c"|"cases": [(line number, text)]}; the
    introduction's blocks go under the name ""."""
    out, block = {}, None
    current = out.setdefault("", {"line": 1})
    for number, line in enumerate(lines, 1):
        if block is not None:
            if line.startswith("```"):
                block = None
            else:
                current.setdefault(block, []).append((number, line))
        elif line.startswith("```"):
            block = line[3:].strip()
        elif line.startswith("#"):
            m = re.match(r"### (\S+)$", line)
            current = out.setdefault(m.group(1) if m else "", {"line": number})
    return out


def main():
    reference, tkcall = sys.argv[1:]
    lines = open(reference, encoding="latin-1").read().split("\n")
    names = [e.name for e in export_table.read()]
    header = read("include/twinekit.h")
    basic = read("basic/TwineKit.bas").split("#Else", 1)[1].split("\n")
    cases = {tokens(l) for f in glob.glob(os.path.join(ROOT, "tests/cases/*.cases"))
             for l in open(f, encoding="latin-1").read().split("\n") if l.strip() and l[0] != "#"}
    found = sections(lines)
    problems = [f"no section for {n}" for n in names if n not in found]
    problems += [f"reference.md:{s['line']}: {n} is no export" for n, s in found.items() if n and n not in names]
    examples = [""] * len(lines)
    for name, s in found.items():
        for number, line in s.get("cases", []):
            if line.strip() and not line.startswith("#"):
                if tokens(line) not in cases:
                    problems.append(f"reference.md:{number}: not a line of tests/cases: {line}")
                examples[number - 1] = line
        if name not in names:
            continue
        want = [l.strip() for l in basic if re.search(rf"\b(Function|Sub) {name} Lib", l)]
        if [l.strip() for _, l in s.get("basic", [])] != want:
            problems.append(f"reference.md:{s['line']}: the Basic declaration of {name} is not {want}")
        if c_declarations("\n".join(l for _, l in s.get("c", [])), name) != c_declarations(header, name):
            problems.append(f"reference.md:{s['line']}: the C prototype of {name} is not the header's")
        if not s.get("cases"):
            problems.append(f"reference.md:{s['line']}: {name} has no example")
    for p in problems:
        print("FAIL", p)
    # The examples keep their line numbers, so tkcall names reference.md's lines.
    with tempfile.NamedTemporaryFile("w", suffix=".md", encoding="latin-1", delete=False) as f:
        f.write("\n".join(examples))
    try:
        run = subprocess.run([tkcall, "--check", f.name], capture_output=True, text=True, encoding="latin-1")
    finally:
        os.unlink(f.name)
    print(run.stdout.replace(f.name, "reference.md"), end="")
    return 1 if problems or run.returncode != 0 else 0


if __name__ == "__main__":
    sys.exit(main())
