#!/usr/bin/env python3
"""Turns the user guide (docs/guide/README.md) into the HTML page that
"Help" > "ユーザーガイド" opens: guide_to_html.py README.md index.html

Only the Markdown the guide uses is understood: headings (with the anchors
GitHub gives them, so the guide's own links work), paragraphs, "-" and "1."
lists with indented continuation lines, fenced code, pipe tables, images,
links, `code`, **bold** and *italic*. Anything else stays as text.
"""

import html
import os
import re
import sys

STYLE = """body { font-family: "IPAPGothic", "Noto Sans CJK JP", sans-serif; max-width: 52em; margin: 2em auto;
       padding: 0 1em; line-height: 1.6; }
h1 { font-size: 1.6em; } h2 { font-size: 1.25em; border-bottom: 1px solid #ccc; }
code, pre { font-family: monospace; background: #f4f4f4; }
pre { padding: 0.6em; overflow-x: auto; }
table { border-collapse: collapse; } th, td { border: 1px solid #bbb; padding: 0.2em 0.5em; text-align: left; }
img { max-width: 100%; }"""


def anchor(title):
    """The id GitHub gives a heading: lower case, punctuation dropped, spaces as '-'."""
    text = re.sub(r"[^\w\- ]", "", title.lower())
    return text.replace(" ", "-")


def inline(text):
    """Escapes text and turns its inline marks into HTML; code spans are kept as they are."""
    codes = []

    def keep(match):
        codes.append("<code>" + html.escape(match.group(1), quote=False) + "</code>")
        return f"\x00{len(codes) - 1}\x00"

    text = html.escape(re.sub(r"`([^`]*)`", keep, text), quote=False)
    text = re.sub(r"!\[([^\]]*)\]\(([^)\s]+)\)", r'<img src="\2" alt="\1">', text)
    text = re.sub(r"\[([^\]]+)\]\(([^)\s]+)\)", r'<a href="\2">\1</a>', text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"<strong>\1</strong>", text)
    text = re.sub(r"(?<![\w*])\*([^*\s][^*]*)\*(?![\w*])", r"<em>\1</em>", text)
    return re.sub(r"\x00(\d+)\x00", lambda m: codes[int(m.group(1))], text)


def table_cells(line):
    return [cell.strip() for cell in line.strip().strip("|").split("|")]


def convert(markdown):
    lines = markdown.splitlines()
    out = []
    title = "Marionettica3D"
    i = 0
    while i < len(lines):
        line = lines[i]
        stripped = line.strip()
        if not stripped:
            i += 1
            continue
        if stripped.startswith("```"):
            code = []
            i += 1
            while i < len(lines) and not lines[i].strip().startswith("```"):
                code.append(lines[i])
                i += 1
            out.append("<pre><code>" + html.escape("\n".join(code), quote=False) + "</code></pre>")
            i += 1
            continue
        heading = re.match(r"(#{1,6})\s+(.*)", stripped)
        if heading:
            level, text = len(heading.group(1)), heading.group(2).strip()
            if level == 1:
                title = text
            out.append(f'<h{level} id="{anchor(text)}">{inline(text)}</h{level}>')
            i += 1
            continue
        if stripped.startswith("|") and i + 1 < len(lines) and re.match(r"^\s*\|[\s:|-]+\|\s*$", lines[i + 1]):
            rows = [table_cells(line)]
            i += 2
            while i < len(lines) and lines[i].strip().startswith("|"):
                rows.append(table_cells(lines[i]))
                i += 1
            head = "".join(f"<th>{inline(c)}</th>" for c in rows[0])
            body = "".join("<tr>" + "".join(f"<td>{inline(c)}</td>" for c in row) + "</tr>" for row in rows[1:])
            out.append(f"<table><thead><tr>{head}</tr></thead><tbody>{body}</tbody></table>")
            continue
        item = re.match(r"(-|\d+\.)\s+(.*)", stripped)
        if item and not line.startswith(" "):
            ordered = item.group(1) != "-"
            items = []
            while i < len(lines):
                current = re.match(r"(-|\d+\.)\s+(.*)", lines[i]) if not lines[i].startswith(" ") else None
                if current and (current.group(1) != "-") == ordered:
                    items.append([current.group(2)])
                elif lines[i].startswith(" ") and lines[i].strip() and items:
                    items[-1].append(lines[i].strip())
                else:
                    break
                i += 1
            tag = "ol" if ordered else "ul"
            out.append(f"<{tag}>" + "".join(f"<li>{inline(' '.join(parts))}</li>" for parts in items) + f"</{tag}>")
            continue
        paragraph = []
        while i < len(lines) and lines[i].strip() and not re.match(r"\s*(#|```|\||-\s|\d+\.\s)", lines[i]):
            paragraph.append(lines[i].strip())
            i += 1
        if not paragraph:  # a line no rule takes stays as text
            paragraph.append(stripped)
            i += 1
        out.append("<p>" + inline(" ".join(paragraph)) + "</p>")
    return ("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            f"<title>{html.escape(title)}</title>\n<style>\n{STYLE}\n</style>\n</head>\n<body>\n"
            + "\n".join(out) + "\n</body>\n</html>\n")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: guide_to_html.py README.md index.html")
    with open(sys.argv[1], encoding="utf-8") as source:
        page = convert(source.read())
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
    with open(sys.argv[2], "w", encoding="utf-8") as target:
        target.write(page)


if __name__ == "__main__":
    main()
