#!/usr/bin/env python3
"""Fills the unfinished messages of a translation catalogue from an earlier
version of it: a text that only moved to another context (or whose context
was renamed) keeps the translation it had. A context that only gained or lost
its namespace (m3d::PartsPanel and PartsPanel) counts as the same context, so
a text translated differently in two places keeps each of its translations.
Usage: carry_translations.py OLD NEW"""
import sys
import xml.etree.ElementTree as ET


def bare(context_name):
    return context_name.rsplit("::", 1)[-1]


def translations(root):
    """(context, source) -> text and source -> text, the first seen."""
    in_context, anywhere = {}, {}
    for context in root.iter("context"):
        name = bare(context.findtext("name") or "")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            if source is None or translation is None or not translation.text:
                continue
            if translation.get("type") == "unfinished":
                continue
            in_context.setdefault((name, source), translation.text)
            anywhere.setdefault(source, translation.text)
    return in_context, anywhere


def main(old_path, new_path):
    in_context, anywhere = translations(ET.parse(old_path).getroot())
    tree = ET.parse(new_path)
    filled = 0
    for context in tree.getroot().iter("context"):
        name = bare(context.findtext("name") or "")
        for message in context.iter("message"):
            translation = message.find("translation")
            if translation is None or translation.get("type") != "unfinished":
                continue
            source = message.findtext("source")
            text = in_context.get((name, source), anywhere.get(source))
            if text is not None:
                translation.text = text
                del translation.attrib["type"]
                filled += 1
    with open(new_path, "wb") as out:
        out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        tree.write(out, encoding="utf-8", xml_declaration=False)
        out.write(b"\n")
    print(f"carried {filled} translations")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
