#!/usr/bin/env python3
"""Writes the PostgreSQL extension's install script, its control file and
the C list of its functions from the export table.

Every export is a SQL function of its own name (SQL folds it to lower
case) in two forms: one on bytea, one on text, the same bytes either way.
Long and Integer arguments are bigint, so that the extension itself refuses
a number outside the Basic type's range, naming the function and the
argument; the Variant argument of cArabicToRoman is also taken as integer,
bigint and double precision.  A number result is an integer; the in-place
functions return the text they changed; cSetDefaultSeparator returns void.

  write-postgres-sql.py TABLE VERSION OUT_DIR

writes OUT_DIR/twinekit--VERSION.sql, OUT_DIR/twinekit.control and
OUT_DIR/twinekit_functions.h, a row for each C function:
TK_PG_FUNCTION(export name, ordinal, "argument kinds", form).
"""
import os
import sys

import export_table

# What is not pure.  cMixChars draws from the clock, which it reads afresh
# at every call (nothing outlives the call, so a worker may run it);
# cGet reads the connection's default separator, which lives in the
# leader's process alone; cSetDefaultSeparator changes it.
MARKS = {
    "cMixChars": "VOLATILE STRICT PARALLEL SAFE",
    "cGet": "VOLATILE STRICT PARALLEL RESTRICTED",
    "cSetDefaultSeparator": "VOLATILE STRICT PARALLEL UNSAFE",
}
PURE = "IMMUTABLE STRICT PARALLEL SAFE"

STRING_KINDS = "RWV"
NUMBER_TYPE = "bigint"
RESULT_TYPE = {"I": "integer", "L": "integer", "X": "integer", "N": "void"}
# The SQL types the Variant argument takes besides the form's string type,
# each with its form name.
VARIANT_NUMBERS = [("int4", "integer"), ("int8", "bigint"), ("float8", "double precision")]


def sql_function(e, form, variant_type, string_type):
    """The CREATE FUNCTION statement of export e in one form."""
    params = []
    for kind, name in zip(e.args, e.params, strict=True):
        if kind in STRING_KINDS:
            sql_type = string_type
        elif kind == "X":
            sql_type = variant_type
        else:
            sql_type = NUMBER_TYPE
        params.append(f'"{name.lower()}" {sql_type}')
    result = string_type if e.result == "S" or "W" in e.args else RESULT_TYPE[e.result]
    return (f"CREATE FUNCTION {e.name}({', '.join(params)}) RETURNS {result}\n"
            f"  AS 'MODULE_PATHNAME', 'twinekit_{e.name}_{form}'\n"
            f"  LANGUAGE C {MARKS.get(e.name, PURE)};\n")


def forms(e):
    """(form, Variant argument's type, string type) of each SQL function of e."""
    for form in ("bytea", "text"):
        yield form, form, form
    if "X" in e.args:
        for form, sql_type in VARIANT_NUMBERS:
            yield form, sql_type, "text"


def main():
    table, version, out_dir = sys.argv[1:]
    exports = export_table.read(table)
    script = [f"-- TwineKit {version} for PostgreSQL, written from the export table.\n",
              '\\echo Use "CREATE EXTENSION twinekit" to load this file. \\quit\n']
    rows = ["// The C functions of the PostgreSQL extension, written from the export table.\n"]
    for e in exports:
        script.append("\n")
        for form, variant_type, string_type in forms(e):
            script.append(sql_function(e, form, variant_type, string_type))
            rows.append(f'TK_PG_FUNCTION({e.name}, {e.ordinal}, "{e.args}", {form})\n')
    export_table.write_if_different(os.path.join(out_dir, f"twinekit--{version}.sql"), "".join(script))
    export_table.write_if_different(os.path.join(out_dir, "twinekit_functions.h"), "".join(rows))
    export_table.write_if_different(os.path.join(out_dir, "twinekit.control"), f"""\
# TwineKit: the 64 byte-string functions
comment = 'TwineKit byte-string functions: fields, tokens, character sets, encodings, names, patterns'
default_version = '{version}'
module_pathname = '$libdir/twinekit'
relocatable = true
trusted = false
""")


if __name__ == "__main__":
    main()
