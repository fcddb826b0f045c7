#!/usr/bin/env python3
"""Writes the .NET package's functions from the export table: the class
TwineKit.Strings with each export under its own name and argument names, in
its own order, three times over (strings through the encoding, byte arrays,
spans of bytes; an export that takes no string only with strings), with the
XML documentation of each taken from the function reference; and the
internal class Native, each export called through its address.

  write-dotnet-api.py OUT.cs [TABLE [REFERENCE]]
"""
import os
import re
import sys
from xml.sax.saxutils import escape

import export_table

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The managed type of each argument kind in the three faces, and the native
# one.  A string by reference goes as the address of its BSTR slot, as a
# Basic host passes it; an Integer as a 32-bit slot.
FACES = {
    "string": {"R": "string?", "V": "string?", "W": "ref string?", "S": "string"},
    "bytes": {"R": "byte[]?", "V": "byte[]?", "W": "ref byte[]?", "S": "byte[]"},
    "span": {"R": "ReadOnlySpan<byte>", "V": "ReadOnlySpan<byte>", "W": "Span<byte>", "S": "byte[]"},
}
PLAIN = {"L": "int", "I": "short", "X": "object?"}
RESULT = {"I": "short", "L": "int", "X": "int", "N": "void"}
NATIVE_ARG = {"R": "IntPtr*", "W": "IntPtr*", "V": "IntPtr", "L": "int", "I": "int",
              "X": "VariantBox*"}
NATIVE_RESULT = {"S": "IntPtr", "I": "short", "L": "int", "N": "void"}


def inline(text):
    """Markdown of the reference as XML documentation text."""
    text = escape(" ".join(text.split()))
    return re.sub(r"`([^`]*)`", r"<c>\1</c>", text)


def documentation(reference):
    """name -> (summary, {argument: text}, result) from each function's section."""
    docs = {}
    for name, body in re.findall(r"^### (c\w+)\n(.*?)(?=^##)", reference + "\n##", re.M | re.S):
        prose = re.sub(r"```.*?```", "", body, flags=re.S)
        paragraphs = [p.strip() for p in prose.split("\n\n") if p.strip()]
        summary, args, result = [], {}, ""
        for p in paragraphs:
            if p.startswith("- `"):
                for item in re.split(r"\n(?=- `)", p):
                    m = re.match(r"- `(\w+)`: (.*)", item, re.S)
                    if m:
                        args[m.group(1)] = inline(m.group(2))
            elif p.startswith("Result:"):
                result = inline(p[len("Result:"):])
            elif not args and not result:
                summary.append(inline(p))
        docs[name] = (" ".join(summary), args, result)
    return docs


def doc_comment(e, doc, face):
    summary, args, result = doc
    lines = [f"/// <summary>{summary}</summary>"]
    for name in e.params:
        lines.append(f'/// <param name="{name}">{args.get(name, "")}</param>')
    if e.result != "N":
        extra = {"string": "", "bytes": " (bytes)", "span": " (bytes)"}[face] if e.result == "S" else ""
        lines.append(f"/// <returns>{result}{extra}</returns>")
    return "\n".join("    " + line for line in lines)


def signature(e, face):
    types = [FACES[face][k] if k in "RVW" else PLAIN[k] for k in e.args]
    result = FACES[face]["S"] if e.result == "S" else RESULT[e.result]
    params = ", ".join(f"{t} {n}" for t, n in zip(types, e.params, strict=True))
    return f"public static {result} {e.name}({params})"


def body(e, face):
    """Each string goes into a BSTR slot of its own; the slots and the
    Variant are freed whatever happens, the result taken (and freed) inside."""
    make = {"string": "Bstr.FromText", "bytes": "Bstr.FromBytes", "span": "Bstr.FromSpan"}[face]
    take = "Bstr.TakeText" if face == "string" else "Bstr.TakeBytes"
    lines, args, slot = [], [], 0
    for kind, name in zip(e.args, e.params, strict=True):
        if kind in "RVW":
            lines.append(f"s.S{slot} = {make}({name});")
            args.append(f"s.S{slot}" if kind == "V" else f"&s.S{slot}")
            slot += 1
        elif kind == "X":
            lines.append(f"Variants.Set(&s.Number, {name});")
            args.append("&s.Number")
        else:
            args.append(name)
    call = f"Native.{e.name}({', '.join(args)})"
    if e.args.startswith("W"):
        lines.append(f"{RESULT[e.result]} result = {call};")
        write_back = {"string": "Bstr.WriteBackText(ref Txt, s.S0)", "bytes": "Bstr.WriteBackBytes(ref Txt, s.S0)",
                      "span": "Bstr.WriteBackSpan(Txt, s.S0)"}[face]
        lines += [f"{write_back};", "return result;"]
    elif e.result == "S":
        lines.append(f"return {take}({call});")
    elif e.result == "X":
        lines.append(f"return Variants.TakeLong({call});")
    elif e.result == "N":
        lines.append(f"{call};")
    else:
        lines.append(f"return {call};")
    inner = "\n".join("            " + line for line in lines)
    return f"""    {{
        var s = new Slots();
        try
        {{
{inner}
        }}
        finally
        {{
            s.Free();
        }}
    }}"""


def native(e):
    if e.result == "X":
        # A Variant result comes back through an address on Windows and in
        # registers elsewhere: Variants.CallReturning knows both.
        assert e.args == "R", e
        return (f"    internal static VariantBox {e.name}(IntPtr* {e.params[0]}) =>\n"
                f"        Variants.CallReturning(Exports.Address({e.ordinal - 1}), {e.params[0]});")
    types = [NATIVE_ARG[k] for k in e.args]
    pointer = f"delegate* unmanaged[Stdcall]<{', '.join(types + [NATIVE_RESULT[e.result]])}>"
    params = ", ".join(f"{t} {n}" for t, n in zip(types, e.params, strict=True))
    return (f"    internal static {NATIVE_RESULT[e.result]} {e.name}({params}) =>\n"
            f"        (({pointer})Exports.Address({e.ordinal - 1}))({', '.join(e.params)});")


def main():
    out = sys.argv[1]
    table = sys.argv[2] if len(sys.argv) > 2 else export_table.DEFAULT
    reference = sys.argv[3] if len(sys.argv) > 3 else os.path.join(ROOT, "docs", "reference.md")
    exports = export_table.read(table)
    with open(reference, encoding="latin-1") as f:
        docs = documentation(f.read())
    missing = [e.name for e in exports if e.name not in docs]
    if missing:
        sys.exit(f"{reference}: no section for {', '.join(missing)}")
    methods = []
    for e in exports:
        faces = ["string", "bytes", "span"] if any(k in "RVW" for k in e.args) else ["string"]
        for face in faces:
            methods.append(f"{doc_comment(e, docs[e.name], face)}\n    {signature(e, face)}\n{body(e, face)}")
    names = ", ".join(f'"{e.name}"' for e in exports)
    natives = "\n\n".join(native(e) for e in exports)
    functions = "\n\n".join(methods)
    export_table.write_if_different(out, f"""// Written by scripts/write-dotnet-api.py from the export table and the
// function reference; do not edit.
#nullable enable
using System;

namespace TwineKit;

/// <summary>The 64 functions of TwineKit under their own names, with their
/// arguments in their own order: strings through <see cref="Library.Encoding"/>,
/// or bytes as they are.</summary>
public static unsafe partial class Strings
{{
{functions}
}}

internal static unsafe class Native
{{
    internal static readonly string[] Names = {{ {names} }};

{natives}
}}
""")

if __name__ == "__main__":
    main()
