#!/usr/bin/env python3
"""Writes the JavaScript package's export table and TypeScript declarations.

  generate.py src/exports/export_table.h wasm/twinekit.mjs OUTDIR

OUTDIR/exports.mjs holds the export table (name, ordinal, argument kinds,
result kind, argument names) as scripts/export_table.py reads it, each
name in lower camel case; OUTDIR/twinekit.mjs
is the module with the 64 functions added, each a call by name;
OUTDIR/twinekit.d.ts declares them and the module's helpers.
"""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import export_table  # noqa: E402

# What each argument kind takes and each result kind gives in JavaScript.
ARG_TYPES = {"R": "Text", "W": "Text", "V": "Text", "L": "Whole", "I": "Whole",
             "X": "VariantArg"}
RESULT_TYPES = {"S": "Uint8Array", "I": "number", "L": "number", "X": "number", "N": "void"}

HELPERS = """\
// Written by wasm/generate.py from the export table; do not edit.

/** A string argument: its bytes (a Uint8Array, or any typed array or
 * DataView, read as its bytes), or null (a string never assigned). */
export type Text = ArrayBufferView | null | undefined;

/** A Long or an Integer: a whole number, taken modulo 2^32. */
export type Whole = number | bigint;

/** A typed Variant, as the `variant` helpers make it (only those are
 * taken): value is a number, a bigint (i8, ui8, cy in ten-thousandths), a
 * string (str, and dec's digits) or, by reference, the Variant the
 * reference points to. */
export interface Variant {
  readonly vt: number;
  readonly value: number | bigint | string | Variant | null;
}
/** A Variant argument: a number (a Long, or a Double with a fraction), a
 * string (a String), null (Null), undefined (Empty) or a typed Variant. */
export type VariantArg = number | string | Variant | null | undefined;

/** What an in-place function returns: its result and the bytes it left in
 * its first argument. */
export interface InPlace {
  result: number;
  text: Uint8Array;
}

export interface ExportInfo {
  readonly name: string;
  readonly ordinal: number;
  /** R, W (changed in place), V: strings; L Long; I Integer; X Variant. */
  readonly args: string;
  /** S string, I Integer, L Long, X Variant (a Long), N none. */
  readonly result: string;
  readonly params: readonly string[];
}
export declare const exportTable: readonly ExportInfo[];

/** Strings of one byte a character (code points 0 to 255). */
export declare const latin1: {
  encode(text: string): Uint8Array;
  decode(bytes: ArrayBufferView): string;
};
/** UTF-8 text. */
export declare const utf8: {
  encode(text: string): Uint8Array;
  decode(bytes: ArrayBufferView): string;
};
export declare const variant: {
  readonly empty: Variant;
  readonly null: Variant;
  i1(n: Whole): Variant;
  i2(n: Whole): Variant;
  i4(n: Whole): Variant;
  /** A 64-bit whole number; a RangeError beyond its range. */
  i8(n: bigint | number | string): Variant;
  ui1(n: Whole): Variant;
  ui2(n: Whole): Variant;
  ui4(n: Whole): Variant;
  ui8(n: bigint | number | string): Variant;
  int(n: Whole): Variant;
  uint(n: Whole): Variant;
  error(n: Whole): Variant;
  bool(b: boolean | number): Variant;
  r4(x: number): Variant;
  r8(x: number): Variant;
  date(x: number): Variant;
  /** A Currency: a number, or a bigint counting ten-thousandths. */
  cy(x: number | bigint): Variant;
  /** A Decimal: up to 29 digits, 28 after the point, written as a string
   * ('-12.50') or a number; a RangeError for any other. */
  dec(x: string | number): Variant;
  str(text: string): Variant;
  /** A Variant of any type number, its value zero. */
  vt(n: number): Variant;
  /** By reference to a variable of the target's type holding its value. */
  ref(target: VariantArg): Variant;
  /** By reference to a Variant variable holding the target. */
  refVar(target: VariantArg): Variant;
};

/** A parsed argument or result of the case syntax. */
export type SyntaxValue = Uint8Array | null | number | bigint | Variant;
export interface Case {
  name: string;
  args: SyntaxValue[];
  want: SyntaxValue;
  after: Uint8Array | null;
  clock: number;
}
/** The case syntax of tkcall and the case files. */
export declare const syntax: {
  parseCase(line: string): Case;
  parseValue(kind: string, text: string): SyntaxValue;
  quote(bytes: ArrayBufferView): string;
  /** An argument of a kind (R, W, V, L, I, X) written in the syntax: what
   * parseValue reads back. */
  format(value: SyntaxValue | ArrayBufferView | string | undefined, kind: string): string;
  /** Calls a parsed case's function, with the module's clock at its clock. */
  callCase(c: Case): unknown;
  /** What differs between a parsed case and what its call gave; '' when nothing. */
  check(c: Case, seen: unknown): string;
  /** Runs a case line: problem is '' when the call gives what the line says. */
  runCase(line: string): { seen: unknown; problem: string };
};

/** Calls an export by name with arguments as its function takes them. */
export declare function call(name: string, args: readonly unknown[]): unknown;
/** Bytes of the module's heap in use. */
export declare function heapInUse(): number;
"""


def declaration(name, args, result, names):
    typed = ", ".join(f"{n}: {ARG_TYPES[k]}" for n, k in zip(names, args))
    returns = "InPlace" if args.startswith("W") else RESULT_TYPES[result]
    return f"export declare function {name}({typed}): {returns};"


def function(name, names):
    return f"export function {name}({', '.join(names)}) {{ return call('{name}', [{', '.join(names)}]); }}"


def main():
    table_path, module_path, out = sys.argv[1:]
    table, declarations, functions = [], [], []
    for e in export_table.read(table_path):
        names = [n[0].lower() + n[1:] for n in e.params]
        table.append({"name": e.name, "ordinal": e.ordinal, "args": e.args, "result": e.result,
                      "params": names})
        declarations.append(declaration(e.name, e.args, e.result, names))
        functions.append(function(e.name, names))
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "exports.mjs"), "w") as f:
        f.write("// Written by wasm/generate.py from the export table; do not edit.\n")
        f.write("export const exportTable = Object.freeze([\n")
        f.write("".join(f"  {json.dumps(e)},\n" for e in table))
        f.write("]);\n")
    with open(os.path.join(out, "twinekit.mjs"), "w") as f:
        f.write(open(module_path).read() + "\n".join(functions) + "\n")
    with open(os.path.join(out, "twinekit.d.ts"), "w") as f:
        f.write(HELPERS + "\n" + "\n".join(declarations) + "\n")


if __name__ == "__main__":
    main()
