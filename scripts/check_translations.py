#!/usr/bin/python3
"""Holds every generated language folder against the English layouts it was made from,
and every catalogue against the texts of today's English layouts.

    /usr/bin/python3 scripts/check_translations.py BUILD_DIR   (exit status 1 on a problem)

A generated layout must have the same elements in the same order with the same
attributes as the English one; only the translatable texts may differ, and none may be
empty where the English is not. A catalogue must translate every text of the English
layouts (none missing, none fuzzy) and keep each "%s".
"""
import glob
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SKINS = ("skin", "skin_classic")
TRANSLATED = {"text", "tooltip", "string"}
problems = []


def english_layouts(skin):
    return sorted(glob.glob(os.path.join(ROOT, "data", skin, "language", "eng", "*.xml")))


def compare(eng, other, where):
    if eng.tag != other.tag:
        problems.append(f"{where}: <{other.tag}> where English has <{eng.tag}>")
        return
    fixed = {k: v for k, v in eng.attrib.items() if k not in TRANSLATED}
    got = {k: v for k, v in other.attrib.items() if k not in TRANSLATED}
    if fixed != got:
        changed = sorted(set(fixed.items()) ^ set(got.items()))
        problems.append(f"{where} <{eng.tag} name={eng.get('name')}>: attributes differ {changed[:4]}")
    for k in TRANSLATED & set(eng.attrib):
        if eng.get(k).strip() and not (other.get(k) or "").strip():
            problems.append(f"{where} <{eng.tag} name={eng.get('name')}>: {k} is empty")
    if len(eng) != len(other):
        problems.append(f"{where} <{eng.tag} name={eng.get('name')}>: "
                        f"{len(other)} children where English has {len(eng)}")
    for a, b in zip(eng, other):
        compare(a, b, where)


def read_po(path):
    """msgid -> (msgstr, fuzzy); multi-line strings joined."""
    entries, fuzzy, key, field, parts = {}, False, None, None, {}
    def flush():
        if "msgid" in parts and parts["msgid"]:
            entries[parts["msgid"]] = (parts.get("msgstr", ""), fuzzy)
    for line in open(path, encoding="utf-8").read().split("\n") + [""]:
        if not line.strip():
            flush()
            parts, fuzzy, field = {}, False, None
        elif line.startswith("#,") and "fuzzy" in line:
            fuzzy = True
        elif line.startswith("#"):
            continue
        else:
            m = re.match(r'^(msgid|msgstr)\s+"(.*)"$', line)
            if m:
                field = m.group(1)
                parts[field] = m.group(2)
            elif line.startswith('"') and field:
                parts[field] += line[1:-1]
    return entries


def english_texts():
    with tempfile.TemporaryDirectory() as tmp:
        pot = os.path.join(tmp, "orvella.pot")
        files = [os.path.relpath(f, os.path.join(ROOT, "data"))
                 for skin in SKINS for f in english_layouts(skin)]
        subprocess.run(["itstool", "-i", os.path.join(ROOT, "po", "orvella.its"), "-o", pot] + files,
                       cwd=os.path.join(ROOT, "data"), check=True)
        return [k for k in read_po(pot)]


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    build = sys.argv[1]
    catalogues = sorted(glob.glob(os.path.join(ROOT, "po", "*.po")))
    if not catalogues:
        problems.append("no catalogues in po/")
    texts = english_texts()
    for po in catalogues:
        lang = os.path.splitext(os.path.basename(po))[0]
        entries = read_po(po)
        for msgid in texts:
            msgstr, fuzzy = entries.get(msgid, ("", False))
            if not msgstr:
                problems.append(f"po/{lang}.po: no translation of {msgid!r}")
            elif fuzzy:
                problems.append(f"po/{lang}.po: fuzzy translation of {msgid!r}")
            elif msgid.count("%s") != msgstr.count("%s"):
                problems.append(f"po/{lang}.po: {msgid!r} has {msgid.count('%s')} %s, "
                                f"the translation {msgstr.count('%s')}")
        for skin in SKINS:
            for eng in english_layouts(skin):
                name = os.path.basename(eng)
                made = os.path.join(build, skin, "language", lang, name)
                if not os.path.exists(made):
                    problems.append(f"{skin}/language/{lang}/{name} was not generated")
                    continue
                compare(ET.parse(eng).getroot(), ET.parse(made).getroot(),
                        f"{skin}/language/{lang}/{name}")
    for p in problems:
        print(p)
    print(f"{len(catalogues)} catalogues, {len(texts)} texts, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
