#!/usr/bin/env python3
"""Writes the script examples of the Windows zip's README for the COM tests
to run.

  readme-examples.py docs/windows-readme.md DIR

In the section "From scripts and other languages", the first ```vbscript
block and the first ```js block are examples, each followed by a ```text
block of what it prints.  Writes DIR/readme-example.vbs and
DIR/readme-example.js, and beside each its expected output (.out).
"""
import re
import sys


def main():
    readme, out_dir = sys.argv[1:]
    text = open(readme, encoding="utf-8").read()
    section = text.split("## From scripts and other languages", 1)
    if len(section) != 2:
        sys.exit(f"{readme}: no section 'From scripts and other languages'")
    section = section[1].split("\n## ", 1)[0]
    for fence, suffix in (("vbscript", "vbs"), ("js", "js")):
        m = re.search(r"```" + fence + r"\n(.*?)```\s*\n[^`]*```text\n(.*?)```", section, re.S)
        if not m:
            sys.exit(f"{readme}: no ```{fence} example followed by the ```text it prints")
        code, output = m.groups()
        with open(f"{out_dir}/readme-example.{suffix}", "w", newline="\r\n") as f:
            f.write(code)
        with open(f"{out_dir}/readme-example.{suffix}.out", "w") as f:
            f.write(output)


if __name__ == "__main__":
    main()
