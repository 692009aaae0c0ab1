#!/usr/bin/env python3
"""Refreshes the .ts files from the sources with lupdate, and keeps every translation whose
source text moved to another context (lupdate would leave it behind as obsolete).

    tools/update_translations.py            all .ts files under src/ui/translations
"""
import glob
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LUPDATE = "/usr/lib/qt6/bin/lupdate"


def translations(path):
    """source -> translation element of every finished message, whatever its context."""
    known = {}
    for message in ET.parse(path).getroot().iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        if translation is None or translation.get("type") in ("unfinished", "vanished", "obsolete"):
            if translation is not None and translation.get("type") in ("vanished", "obsolete") and (
                translation.text or len(translation)
            ):
                known.setdefault(source, translation)
            continue
        known[source] = translation
    return known


def main():
    files = sys.argv[1:] or sorted(glob.glob(os.path.join(ROOT, "src/ui/translations/*.ts")))
    for ts in files:
        before = translations(ts)
        # English is the source language: its file holds only the counted forms.
        plural = ["-pluralonly"] if ts.endswith("_en.ts") else []
        subprocess.run([LUPDATE, "-silent", "-no-obsolete", "-locations", "none", *plural,
                        os.path.join(ROOT, "src"), "-ts", ts], check=True)
        tree = ET.parse(ts)
        filled = 0
        for message in tree.getroot().iter("message"):
            translation = message.find("translation")
            source = message.findtext("source")
            if translation is not None and translation.get("type") == "unfinished" and source in before:
                old = before[source]
                translation.clear()
                translation.text = old.text
                for child in old:
                    translation.append(child)
                filled += 1
        ET.indent(tree, "    ")
        tree.write(ts, encoding="utf-8", xml_declaration=True)
        print(f"{os.path.relpath(ts, ROOT)}: {filled} translations carried to their new context")


if __name__ == "__main__":
    main()
