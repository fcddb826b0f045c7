#!/usr/bin/env python3
"""Renders the function reference as one self-contained HTML page.

  render-reference.py docs/reference.md OUT.html [SCRIPT.mjs]

With SCRIPT.mjs (the WebAssembly build's reference_page.mjs), the page holds
it inline and every function can be tried on it.

Knows the Markdown that the reference uses: headings, paragraphs, lists
(nested by indentation), pipe tables, fenced code, code spans and links.
"""
import html
import re
import sys

STYLE = """
body { font: 16px/1.5 system-ui, sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em; color: #222; }
h2 { border-bottom: 1px solid #ccc; margin-top: 2em; }
h3 { margin-top: 2em; font-family: ui-monospace, monospace; }
code { font-family: ui-monospace, monospace; font-size: 90%; background: #f3f3f3; padding: 0 .2em; }
pre { background: #f6f6f6; padding: .6em; overflow-x: auto; }
pre code { background: none; padding: 0; }
pre.cases { border-left: 3px solid #9ab; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: .2em .5em; text-align: left; vertical-align: top; }
"""


def anchor(text):
    """The id of a heading, as common Markdown viewers make it."""
    return re.sub(r"[^\w-]", "", text.strip().lower().replace(" ", "-"))


def inline(text):
    """Code spans and links; everything else escaped."""
    out = []
    for part in re.split(r"(`[^`]*`)", text):
        if part.startswith("`") and part.endswith("`") and len(part) > 1:
            out.append(f"<code>{html.escape(part[1:-1])}</code>")
        else:
            out.append(html.escape(part, quote=False))
    # [label](target), the label plain or a code span made above.
    return re.sub(r"\[([^\]]*)\]\(([^)\s]*)\)", r'<a href="\2">\1</a>', "".join(out))


def table(rows):
    cells = [[c.strip() for c in r.strip().strip("|").split("|")] for r in rows]
    head, body = cells[0], cells[2:]
    out = ["<table><tr>" + "".join(f"<th>{inline(c)}</th>" for c in head) + "</tr>"]
    out += ["<tr>" + "".join(f"<td>{inline(c)}</td>" for c in r) + "</tr>" for r in body]
    return "\n".join(out) + "</table>"


def items(lines):
    """A list: items start with "- ", deeper lines belong to the item above."""
    out, depth = [], []
    for line in lines:
        indent = len(line) - len(line.lstrip())
        text = line.strip()
        if text.startswith("- "):
            while depth and indent < depth[-1]:
                out.append("</li></ul>")
                depth.pop()
            if not depth or indent > depth[-1]:
                out.append("<ul>")
                depth.append(indent)
            else:
                out.append("</li>")
            out.append("<li>" + inline(text[2:]))
        else:
            out.append(" " + inline(text))
    out += ["</li></ul>"] * len(depth)
    return "".join(out)


def render(markdown, script=None):
    out, title = [], "TwineKit"
    lines = markdown.split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("```"):
            kind = line[3:].strip()
            end = lines.index("```", i + 1)
            code = html.escape("\n".join(lines[i + 1:end]))
            out.append(f'<pre class="{kind}"><code>{code}</code></pre>')
            i = end + 1
            continue
        m = re.match(r"(#{1,6}) (.*)", line)
        if m:
            level, text = len(m.group(1)), m.group(2)
            if level == 1:
                title = text
            out.append(f'<h{level} id="{anchor(text)}">{inline(text)}</h{level}>')
            i += 1
            continue
        if not line.strip():
            i += 1
            continue
        # A paragraph, list or table runs to the next blank line or block.
        block = []
        while i < len(lines) and lines[i].strip() and not re.match(r"```|#{1,6} ", lines[i]):
            block.append(lines[i])
            i += 1
        if block[0].startswith("|"):
            out.append(table(block))
        elif block[0].startswith("- "):
            out.append(items(block))
        else:
            out.append("<p>" + inline(" ".join(l.strip() for l in block)) + "</p>")
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f"<title>{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
            + "\n".join(out) + "\n"
            + (f'<script type="module">\n{script}\n</script>\n' if script else "")
            + "</body>\n</html>\n")


def main():
    source, target, *script = sys.argv[1:]
    if script:
        with open(script[0], encoding="utf-8") as f:
            script = f.read()
    with open(source, encoding="utf-8") as f:
        page = render(f.read(), script or None)
    with open(target, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    sys.exit(main())
