#!/usr/bin/env python3
"""Renders the function reference as one self-contained HTML page.

  render-reference.py docs/reference.md OUT.html [SCRIPT.mjs]

With SCRIPT.mjs (the WebAssembly build's reference_page.mjs), the page holds
it inline and every function can be tried on it.

Knows the Markdown that the reference uses: headings, paragraphs, lists
(nested by indentation), pipe tables, fenced code, code spans and links.

Under the heading "Functions by family" the page shows an index made from
the sections themselves in place of the Markdown list there (which a
Markdown viewer shows): each family
(a "## " heading whose "### name" sections are functions) with its
functions, each linked to its section and given the first sentence of its
description. A filter box, in a small inline script that needs no
network, narrows the index to the names that hold what is typed; without
the script the box stays hidden and the whole index shows.
"""
import html
import re
import sys

INDEX_HEADING = "Functions by family"

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
nav.index h3 { font-family: inherit; font-size: 100%; margin: 1em 0 .2em; }
nav.index ul { list-style: none; padding-left: 0; margin: 0; }
nav.index li { padding-left: 1em; text-indent: -1em; }
nav.index .summary { color: #555; }
nav.index input { font: inherit; width: 16em; margin-left: .5em; }
nav.index [role="status"] { color: #555; margin: .2em 0 0; }
"""

# Narrows the index to the functions whose names hold the filter's text,
# case aside; Escape clears the filter, Enter goes to the first function
# left. The script shows the filter, which the page hides for readers
# without scripts.
FILTER_SCRIPT = """
(() => {
  const filter = document.getElementById('index-filter');
  const box = document.getElementById('index-filter-text');
  const status = document.getElementById('index-filter-status');
  const families = [...document.querySelectorAll('nav.index section')];
  const total = document.querySelectorAll('nav.index li').length;
  function narrow() {
    const text = box.value.trim().toLowerCase();
    let shown = 0;
    for (const family of families) {
      const items = [...family.querySelectorAll('li')];
      for (const item of items) item.hidden = !item.dataset.name.toLowerCase().includes(text);
      const left = items.filter((item) => !item.hidden).length;
      family.hidden = left === 0;
      shown += left;
    }
    status.textContent = shown === total ? `All ${total} functions.`
      : shown === 0 ? 'No function has that in its name.' : `${shown} of ${total} functions.`;
  }
  box.addEventListener('input', narrow);
  box.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && box.value) {
      event.preventDefault();
      box.value = '';
      narrow();
    } else if (event.key === 'Enter') {
      document.querySelector('nav.index li:not([hidden]) a')?.click();
    }
  });
  filter.hidden = false;
  narrow();
})();
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


def blocks(markdown):
    """The Markdown as (kind, ...) blocks: ("code", kind, text),
    ("heading", level, text), ("table", lines), ("list", lines) and
    ("paragraph", text)."""
    out = []
    lines = markdown.split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("```"):
            end = lines.index("```", i + 1)
            out.append(("code", line[3:].strip(), "\n".join(lines[i + 1:end])))
            i = end + 1
            continue
        m = re.match(r"(#{1,6}) (.*)", line)
        if m:
            out.append(("heading", len(m.group(1)), m.group(2)))
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
            out.append(("table", block))
        elif block[0].startswith("- "):
            out.append(("list", block))
        else:
            out.append(("paragraph", " ".join(l.strip() for l in block)))
    return out


def first_sentence(text):
    return re.split(r"(?<=\.)\s+(?=[A-Z`])", text, maxsplit=1)[0]


def families(parts):
    """[(family, [(function, summary)])]: the "## " sections that hold
    "### name" sections, each function with the first sentence of the
    first paragraph of its section."""
    out, family, function = [], None, None
    for kind, *data in parts:
        if kind == "heading" and data[0] == 2:
            family, function = data[1], None
        elif kind == "heading" and data[0] == 3 and re.fullmatch(r"\w+", data[1]) and family:
            function = data[1]
            if not out or out[-1][0] != family:
                out.append((family, []))
            out[-1][1].append((function, ""))
        elif kind == "heading":
            function = None
        elif kind == "paragraph" and function and not out[-1][1][-1][1]:
            out[-1][1][-1] = (function, first_sentence(data[0]))
    return out


def index(groups):
    """The index of the functions by family, with its filter (hidden until
    the script shows it)."""
    out = ['<nav class="index" aria-label="Functions by family">',
           '<div id="index-filter" hidden>',
           '<label for="index-filter-text">Filter by function name</label>'
           '<input type="search" id="index-filter-text" autocomplete="off" spellcheck="false"'
           ' aria-describedby="index-filter-status">',
           '<p id="index-filter-status" role="status"></p>',
           "</div>"]
    for family, functions in groups:
        out.append(f"<section><h3>{inline(family)}</h3><ul>")
        out += [f'<li data-name="{html.escape(name)}"><a href="#{anchor(name)}"><code>{html.escape(name)}</code></a>'
                f' <span class="summary">{inline(summary)}</span></li>' for name, summary in functions]
        out.append("</ul></section>")
    out.append("</nav>")
    return "\n".join(out)


def with_index(parts):
    """The blocks with the index in place of the list under the index
    heading; None when the reference has no such list."""
    at = next((i for i, (kind, *data) in enumerate(parts) if kind == "heading" and data[1] == INDEX_HEADING), None)
    if at is None:
        return None
    end = next((i for i in range(at + 1, len(parts)) if parts[i][0] == "heading"), len(parts))
    lists = [i for i in range(at + 1, end) if parts[i][0] == "list"]
    if not lists:
        return None
    return parts[:lists[0]] + [("index", families(parts))] + parts[lists[0] + 1:]


def block_html(kind, *data):
    if kind == "code":
        return f'<pre class="{data[0]}"><code>{html.escape(data[1])}</code></pre>'
    if kind == "heading":
        level, text = data
        return f'<h{level} id="{anchor(text)}">{inline(text)}</h{level}>'
    if kind == "table":
        return table(data[0])
    if kind == "list":
        return items(data[0])
    if kind == "index":
        return index(data[0])
    return "<p>" + inline(data[0]) + "</p>"


def render(markdown, script=None):
    parts = with_index(blocks(markdown))
    if parts is None:
        raise ValueError(f'the reference has no list under "{INDEX_HEADING}" to put the index in place of')
    title = next((data[1] for kind, *data in parts if kind == "heading" and data[0] == 1), "TwineKit")
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f"<title>{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
            + "\n".join(block_html(*part) for part in parts) + "\n"
            + f"<script>{FILTER_SCRIPT}</script>\n"
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
