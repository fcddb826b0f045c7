#!/usr/bin/env python3
"""Checks docs/reference.md, and the guides for users, against the library.

  check-reference.py docs/reference.md path/to/tkcall [GUIDE.md...]

Fails when an export of src/exports/export_table.h has no "### name"
section, or a section names no export; when a section's Basic declaration
(```basic) is not the 32-bit line of basic/TwineKit.bas or its C prototype
(```c) not the declaration of include/twinekit.h, or its SQL form (```sql)
not one line "name(argument names) -- result"; when an example line
(```cases) is not a line of tests/cases/*.cases; and when tkcall --check,
run over the examples, reports one that the library answers otherwise.

In the reference and in each guide it also runs what a reader can run:
the ```cases blocks through tkcall --check; every "$ ..." line of a ```sh
block that calls tkcall through bash, whose output must be the lines shown under it
(and, being case lines, must pass tkcall --check as they stand); and every
line of a ```vb block that calls an export, as Basic would run it, through
one tkcall --run for the block: a Debug.Print must print what the comment
at the end of its line says.
"""
import glob
import json
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


def pieces(line):
    """The blank-separated pieces of a case line, as tools/hostcall splits it."""
    return re.findall(r"(?:'(?:\\.|[^'\\])*'|[^\s'])+'?", line.strip())


def tokens(line):
    return " ".join(pieces(line))


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


def fenced_blocks(lines):
    """[(kind, [(line number, text)])] of the ``` blocks."""
    out, block = [], None
    for number, line in enumerate(lines, 1):
        if not line.startswith("```"):
            if block is not None:
                block.append((number, line))
        elif block is None:
            block = []
            out.append((line[3:].strip(), block))
        else:
            block = None
    return out


def run_cases(tkcall, name, examples):
    """Runs tkcall --check over the example lines, which keep their line
    numbers (examples[i] is line i + 1, "" elsewhere); True when all pass."""
    with tempfile.NamedTemporaryFile("w", suffix=".md", encoding="latin-1", delete=False) as f:
        f.write("\n".join(examples))
    try:
        run = subprocess.run([tkcall, "--check", f.name], capture_output=True, text=True, encoding="latin-1")
    finally:
        os.unlink(f.name)
    print(run.stdout.replace(f.name, name), end="")
    return run.returncode == 0


def quote(data):
    return "'" + "".join(chr(b) if 32 <= b < 127 and b not in (39, 92) else f"\\x{b:02X}" for b in data) + "'"


class Basic:
    """Runs the lines of a Basic snippet that call exports, one tkcall --run
    for the snippet, with its String and number variables."""
    CONSTANTS = {"True": -1, "False": 0, "vbNullString": None}
    TOKEN = re.compile(r'\s*(?:("(?:[^"]|"")*")|(\d+\.\d+|\d+)|([A-Za-z_][\w.]*\$?)|(.))')

    def __init__(self, tkcall, kinds):
        self.kinds, self.variables = kinds, {}
        self.run = subprocess.Popen([tkcall, "--run", "--json"], stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, text=True, encoding="latin-1")

    def call(self, name, args):
        kinds = self.kinds[name]
        if len(args) != len(kinds[0]):
            raise ValueError(f"{name} takes {len(kinds[0])} arguments")
        line = name + "".join(" " + self.argument(k, v) for k, (v, _) in zip(kinds[0], args))
        self.run.stdin.write(line + "\n")
        self.run.stdin.flush()
        seen = json.loads(self.run.stdout.readline())
        if seen["problems"] or seen["name"] != name:
            raise ValueError(f"tkcall --run answered {seen}")
        if "after" in seen and args[0][1]:
            self.variables[args[0][1]] = bytes.fromhex(seen["after"])
        result = seen["result"]
        return bytes.fromhex(result) if isinstance(result, str) else result

    @staticmethod
    def argument(kind, value):
        if kind in "RWV":
            return "@null" if value is None else quote(value if isinstance(value, bytes) else str(value).encode())
        if kind in "LI":
            return str(int(value))
        if isinstance(value, bytes) or value is None:
            return "str:" + quote(value or b"")
        return f"r8:{value}" if isinstance(value, float) else f"i2:{value}" if -32768 <= value < 32768 else f"i4:{value}"

    def expression(self, t):
        value = self.term(t)
        while t and t[0] == ("op", "&"):
            t.pop(0)
            right = self.term(t)
            value = b"".join(x if isinstance(x, bytes) else str(x or "").encode() for x in (value, right))
        return value

    def term(self, t):
        kind, text = t.pop(0)
        if kind == "op" and text == "-":
            return -self.term(t)
        if kind == "op" and text == "(":
            value = self.expression(t)
            t.pop(0)
            return value
        if kind in ("str", "num"):
            return text
        if kind != "name":
            raise ValueError(f"cannot read {text}")
        if t and t[0] == ("op", "("):
            t.pop(0)
            args = []
            while t[0] != ("op", ")"):
                variable = t[0][1] if t[0][0] == "name" and t[1] in (("op", ","), ("op", ")")) else None
                args.append((self.expression(t), variable))
                if t[0] == ("op", ","):
                    t.pop(0)
            t.pop(0)
            if text in ("Chr", "Chr$"):
                return bytes([args[0][0]])
            if text not in self.kinds:
                raise ValueError(f"no function {text}")
            return self.call(text, args)
        for names in (self.variables, self.CONSTANTS):
            if text in names:
                return names[text]
        raise ValueError(f"no value for {text}")

    def lex(self, code):
        out = []
        for m in self.TOKEN.finditer(code.rstrip()):
            s, n, name, op = m.groups()
            out.append(("str", s[1:-1].replace('""', '"').encode("latin-1")) if s else
                       ("num", float(n) if "." in n else int(n)) if n else
                       ("name", name) if name else ("op", op))
        return out

    def statement(self, code, comment):
        """Runs one line; returns a problem or None."""
        m = re.match(r"\s*If\s+(.*?)\s+Then\s+(.*)$", code)
        if m:
            if self.expression(self.lex(m.group(1))):
                return self.statement(m.group(2), comment)
            return f"prints nothing, not {comment}" if comment else None
        m = re.match(r"\s*Debug\.Print\s+(.*)$", code)
        if m:
            value = self.expression(self.lex(m.group(1)))
            shown = value.decode("latin-1") if isinstance(value, bytes) else "" if value is None else str(value)
            return None if shown.strip() == comment.strip() else f"prints {shown!r}, not {comment!r}"
        m = re.match(r"\s*Dim\s+(.*)$", code)
        if m:
            for name, kind in re.findall(r"(\w+)(?:\s+As\s+(\w+))?", m.group(1)):
                self.variables[name] = 0 if kind not in ("String", "Variant", "") else None
            return None
        m = re.match(r"\s*(\w+)\s*=\s*(.*)$", code)
        if m:
            self.variables.pop(m.group(1), None)  # unknown if the value cannot be had
            self.variables[m.group(1)] = self.expression(self.lex(m.group(2)))
            return None
        t = self.lex(code)
        if t and t[0][0] == "name" and t[0][1] in self.kinds:
            if len(t) > 1 and t[1] != ("op", "("):
                t = t[:1] + [("op", "(")] + t[1:] + [("op", ")")]
            self.term(t)
            return None
        return "cannot run this line"

    def lines(self, block):
        """Problems of the block's lines, by line number."""
        exports = re.compile(r"\bc[A-Z]\w*")
        problems = []
        for number, line in block:
            code, comment = re.match(r'((?:[^\'"]|"(?:[^"]|"")*")*)\'?(.*)', line).groups()
            if re.match(r"\s*(Public\s+|Private\s+)?Declare\b", code):
                continue
            unknown = [n for n in exports.findall(code) if n not in self.kinds]
            if unknown:
                problems.append((number, f"no export named {unknown[0]}"))
                continue
            # Other lines run only to keep the variables, or to check what a
            # Debug.Print with an expected output prints.
            if not exports.search(code) and not re.match(r"\s*(Dim\s|\w+\s*=)", code) and \
                    not (comment.strip() and re.match(r"\s*Debug\.Print\s", code)):
                continue
            try:
                problem = self.statement(code, comment)
            except (ValueError, IndexError, KeyError, TypeError) as e:
                problem = f"cannot run this line ({e})" if exports.search(code) else None
            if problem:
                problems.append((number, problem))
        self.run.stdin.close()
        self.run.wait()
        return problems


def check_runnable(path, lines, tkcall, kinds):
    """Runs the document's ```sh tkcall lines and ```vb blocks; its
    problems, and the case lines that tkcall printed."""
    name, problems, printed = os.path.basename(path), [], []
    env = dict(os.environ, PATH=os.path.dirname(os.path.abspath(tkcall)) + os.pathsep + os.environ["PATH"])
    for kind, block in fenced_blocks(lines):
        if kind == "vb":
            problems += [f"{name}:{n}: {p}" for n, p in Basic(tkcall, kinds).lines(block)]
        if kind != "sh":
            continue
        for i, (number, line) in enumerate(block):
            if not (line.startswith("$ ") and "tkcall " in line):
                continue
            shown = []
            for _, out in block[i + 1:]:
                if out.startswith("$ "):
                    break
                shown.append(out)
            run = subprocess.run(["bash", "-c", line[2:]], capture_output=True, text=True,
                                 encoding="latin-1", cwd=ROOT, env=env)
            if run.stdout.rstrip("\n").split("\n") != shown:
                problems.append(f"{name}:{number}: {line[2:]} printed {run.stdout!r}")
            # Each tkcall starts with the separator "|".
            printed += ["cSetDefaultSeparator '|'"] + [o for o in shown if o.split(" ")[0] in kinds]
    return problems, printed


def main():
    reference, tkcall, *guides = sys.argv[1:]
    lines = open(reference, encoding="latin-1").read().split("\n")
    kinds = {e.name: (e.args, e.result) for e in export_table.read()}
    params = {e.name: e.params for e in export_table.read()}
    names = list(kinds)
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
        sql = f"{name}({', '.join(params[name])}) -- "
        if [l.startswith(sql) for _, l in s.get("sql", [])] != [True]:
            problems.append(f"reference.md:{s['line']}: the SQL form of {name} is not one line {sql}...")
    passed = run_cases(tkcall, "reference.md", examples)
    printed = []
    for path in [reference] + guides:
        text = open(path, encoding="latin-1").read().split("\n")
        more, shown = check_runnable(path, text, tkcall, kinds)
        problems += more
        printed += shown
        if path != reference:
            examples = [""] * len(text)
            for kind, block in fenced_blocks(text):
                for number, line in block if kind == "cases" else []:
                    examples[number - 1] = line
            passed = run_cases(tkcall, os.path.basename(path), examples) and passed
    passed = run_cases(tkcall, "what tkcall printed", printed) and passed
    for p in problems:
        print("FAIL", p)
    return 1 if problems or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
