#!/usr/bin/env python3
"""Writes the interface definition of the COM class from the export table:
one dual interface whose methods are the exports under their own names,
their DISPIDs the ordinals, their arguments named as in the table's list of
argument names, and a type library with the class.  widl makes the type
library and the C header from it.

  write-com-idl.py TABLE OUT.idl LIBID IID CLSID VERSION
"""
import sys

import export_table

# A read-only string comes by value, an in-place one by reference; an
# Integer is 16 bits, a Long 32; the Variant comes as it is.
ARG = {"R": "[in] BSTR", "V": "[in] BSTR", "W": "[in, out] BSTR*", "L": "[in] long",
       "I": "[in] short", "X": "[in] VARIANT"}
RESULT = {"S": "BSTR*", "I": "short*", "L": "long*", "X": "VARIANT*"}


def main():
    table, out, libid, iid, clsid, version = sys.argv[1:]
    names = export_table.argument_names(table)
    methods = ""
    for e in export_table.read(table):
        params = [f"{ARG[k]} {n}" for k, n in zip(e.args, names[e.name], strict=True)]
        if e.result != "N":
            params.append(f"[out, retval] {RESULT[e.result]} Result")
        methods += f"    [id({e.ordinal})] HRESULT {e.name}({', '.join(params)});\n"
    export_table.write_if_different(out, f"""// The COM class of TwineKit, written from the export table.
import "oaidl.idl";

[uuid({libid}), version({version}), helpstring("TwineKit byte-string functions")]
library TwineKit
{{
  importlib("stdole2.tlb");

  [object, uuid({iid}), dual, oleautomation, nonextensible,
   helpstring("The 64 functions of TwineKit")]
  interface ITwineKitStrings : IDispatch
  {{
{methods}  }};

  [uuid({clsid}), helpstring("TwineKit.Strings")]
  coclass Strings
  {{
    [default] interface ITwineKitStrings;
  }};
}};
""")


if __name__ == "__main__":
    main()
