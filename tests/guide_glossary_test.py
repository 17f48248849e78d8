#!/usr/bin/env python3
"""The user guide gives the English interface's own words: every Japanese text
it quotes with an English word in brackets ("追加" [Add]), and every row of its
glossary, must match the translation the program ships (i18n/*.ts). A quoted
text the catalogue does not hold (a caption of Qt's, a file name) is skipped.
Its contents link every section.
Arguments: the guide and the catalogue."""
import re
import sys
import xml.etree.ElementTree as ElementTree

guide_path, catalogue_path = sys.argv[1:3]
translations = {}
for message in ElementTree.parse(catalogue_path).getroot().iter("message"):
    source, translation = message.findtext("source"), message.findtext("translation")
    if source and translation:
        translations.setdefault(source, set()).add(translation)


def template(text):
    """The catalogue's form of a text the guide writes with a placeholder."""
    return text.replace("(path)", "%1").replace(":N", ":%1")


failures = []
checked = 0


def check(japanese, english, where):
    global checked
    known = translations.get(template(japanese))
    if known is None:
        return
    checked += 1
    if template(english) not in known:
        failures.append(f'{where}: "{japanese}" is [{english}] in the guide but {sorted(known)} in the interface')


with open(guide_path, encoding="utf-8") as guide:
    text = guide.read()
body, _, glossary = text.partition("## Glossary")
if not glossary:
    failures.append("the guide has no Glossary section")

for japanese, english in re.findall(r'"([^"\n]+)" \[([^\]]+)\]', re.sub(r"\s*\n\s*", " ", body)):
    check(japanese, english, "text")

for row in glossary.splitlines():
    cells = [cell.strip() for cell in row.strip().strip("|").split("|")]
    if len(cells) < 2 or cells[0] in ("Japanese", "---"):
        continue
    # "dialog: a / b" pairs its caption and then its items; "a › b" a menu and its item.
    pieces = [re.split(r" / | › |: ", cell) for cell in cells[:2]]
    if len(pieces[0]) != len(pieces[1]):
        failures.append(f"glossary row does not pair up: {row}")
        continue
    for japanese, english in zip(*pieces):
        check(japanese, english, "glossary")

# The contents at the top link every section.
contents = text.partition("Contents:")[2].partition("\n\n")[0]
for heading in re.findall(r"^## (.+)$", text, re.MULTILINE):
    anchor = re.sub(r"[^a-z0-9 -]", "", heading.lower()).replace(" ", "-")
    if f"[{heading}](#{anchor})" not in contents:
        failures.append(f"the contents leave out {heading}")

if checked < 80:
    failures.append(f"only {checked} quoted texts were found in the catalogue")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
