#!/usr/bin/env python3
"""Fills the English plural forms of a .ts file: "(s)" becomes "" and "s",
"There are %n ... packages" gets its singular. Other texts need no translation."""
import re
import sys
import xml.etree.ElementTree as ET

SINGULAR_FIXES = [(r"\bare %n\b", "is %n"), (r"%n upgradable packages", "%n upgradable package")]


def forms(source):
    if "(s)" in source:
        return source.replace("(s)", ""), source.replace("(s)", "s")
    singular = source
    for pattern, replacement in SINGULAR_FIXES:
        singular = re.sub(pattern, replacement, singular)
    return singular, source


def main(path):
    tree = ET.parse(path)
    for message in tree.iter("message"):
        if message.get("numerus") != "yes":
            continue
        translation = message.find("translation")
        numerus = translation.findall("numerusform")
        if any(n.text for n in numerus):
            continue
        for form, text in zip(numerus, forms(message.find("source").text)):
            form.text = text
        translation.attrib.pop("type", None)
    tree.write(path, encoding="utf-8", xml_declaration=True)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace("<?xml version='1.0' encoding='utf-8'?>", '<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>', 1))


if __name__ == "__main__":
    main(sys.argv[1])
