#!/usr/bin/env python3
"""Fills the unfinished messages of a translation catalogue from an earlier
version of it: a text that only moved to another context (or whose context
was renamed) keeps the translation it had. Usage: carry_translations.py OLD NEW"""
import sys
import xml.etree.ElementTree as ET


def translations(root):
    known = {}
    for message in root.iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        if source is None or translation is None or not translation.text:
            continue
        if translation.get("type") == "unfinished":
            continue
        known.setdefault(source, translation.text)
    return known


def main(old_path, new_path):
    known = translations(ET.parse(old_path).getroot())
    tree = ET.parse(new_path)
    filled = 0
    for message in tree.getroot().iter("message"):
        translation = message.find("translation")
        if translation is None or translation.get("type") != "unfinished":
            continue
        source = message.findtext("source")
        if source in known:
            translation.text = known[source]
            del translation.attrib["type"]
            filled += 1
    with open(new_path, "wb") as out:
        out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        tree.write(out, encoding="utf-8", xml_declaration=False)
        out.write(b"\n")
    print(f"carried {filled} translations")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
