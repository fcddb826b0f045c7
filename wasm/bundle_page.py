#!/usr/bin/env python3
"""Joins the package's modules and the reference page's script into one
module script that a page can hold inline, so that it needs no other file
and works from file:// (where a browser loads no module from another file).

  bundle_page.py PACKAGE_DIR reference_page.js OUT.mjs

The modules' imports and exports are dropped: they share one scope.
"""
import re
import sys


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def main():
    package, page, out = sys.argv[1:]
    glue = read(f"{package}/twinekit_wasm.mjs").rstrip()
    default = "export default loadTwineKitWasm;"
    if not glue.endswith(default):
        sys.exit("bundle_page.py: the WebAssembly loader does not end with its default export")
    parts = [glue[: -len(default)], read(f"{package}/exports.mjs"), read(f"{package}/twinekit.mjs")]
    parts = [re.sub(r"^import .*\n|^export \{.*\n", "", p, flags=re.M) for p in parts]
    parts = [re.sub(r"^export ", "", p, flags=re.M) for p in parts]
    script = "\n".join(parts + [read(page)])
    for closing in ("</script", "<!--"):
        if closing in script.lower():
            sys.exit(f"bundle_page.py: the script holds {closing}, which a page reads as HTML")
    with open(out, "w", encoding="utf-8") as f:
        f.write(script)


if __name__ == "__main__":
    main()
