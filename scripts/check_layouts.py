#!/usr/bin/python3
"""Checks that every picture named by a layout under data/ exists, and that each main
layout holds every control the main window looks up, with the right kind.

    /usr/bin/python3 scripts/check_layouts.py     (exit status 1 on a problem)
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
DATA = os.path.join(ROOT, "data")

PICTURE_ATTRS = ("bkimage", "normalimage", "hotimage", "pushedimage", "focusedimage",
                 "disabledimage", "selectedimage", "selectedhotimage", "foreimage",
                 "thumbimage", "thumbhotimage", "thumbpushedimage", "thumbimage2")

CONTAINERS = {"Container", "VerticalLayout", "HorizontalLayout", "TabLayout"}
# name -> accepted tags
REQUIRED = {
    "media": {"Media"}, "playlist": {"List"}, "playslider": {"SliderEx"},
    "volumeslider": {"SliderEx"}, "playtime": {"Label"}, "filename": {"Label"},
    "help": {"Menu"}, "tools": {"Menu"}, "ID_MAINMENU": {"Menu"},
    "backupCombo": {"Combo"}, "goaheadCombo": {"Combo"}, "fileCombo": {"Combo"},
    "URLbar_edit": {"Edit"}, "shading": {"Control"},
}
for name in ("titlebar", "toolbar", "sliderbar", "playlistbar", "expandbar", "main",
             "startup", "ID_MEDIA_AUDIO", "URLbar", "URLbar_visible", "ID_PLAYER_CLIPBAR"):
    REQUIRED[name] = CONTAINERS
for name in ("play", "pause", "stop", "next", "previous", "openfile", "mute_on", "mute_off",
             "closebtn", "minbtn", "maxbtn", "restorebtn", "facade", "file", "list", "expand",
             "addfile", "deletefile", "clear", "saveplaylist", "loadplaylist", "backup",
             "goahead", "URLbar_OK", "URLbar_Cancel", "ID_PLAYER_CLIP_CLOSE"):
    REQUIRED[name] = {"Button"}
HIDDEN_AT_START = {"restorebtn", "mute_off", "ID_MEDIA_AUDIO", "URLbar", "ID_PLAYER_CLIPBAR"}
COMBO_ITEMS = {"backupCombo": 3, "goaheadCombo": 3, "fileCombo": 3}


def picture_files(value):
    """File names in a picture text: file='...' or a plain name."""
    found = re.findall(r"file='([^']*)'", value)
    if found:
        return found
    value = value.strip()
    return [value] if value and "=" not in value else []


def check_file(layout):
    problems = []
    tree = ET.parse(layout)
    names = {}
    for el in tree.iter():
        for attr in PICTURE_ATTRS:
            if attr in el.attrib:
                for f in picture_files(el.attrib[attr]):
                    path = os.path.join(DATA, f.replace("\\", "/"))
                    if not os.path.isfile(path):
                        problems.append("%s: %s names missing %s" % (layout, el.tag, f))
        if "name" in el.attrib:
            names.setdefault(el.attrib["name"], []).append(el)
    if os.path.basename(layout) == "main.xml":
        for name, tags in REQUIRED.items():
            found = names.get(name, [])
            if len(found) != 1:
                problems.append("%s: control %s found %d times" % (layout, name, len(found)))
                continue
            el = found[0]
            if el.tag not in tags:
                problems.append("%s: %s is a %s" % (layout, name, el.tag))
            hidden = el.attrib.get("visible") == "false"
            if hidden != (name in HIDDEN_AT_START):
                problems.append("%s: %s visible=%s at start" % (layout, name, not hidden))
        for name, count in COMBO_ITEMS.items():
            for el in names.get(name, []):
                if len(el.findall("ListLabelElement")) != count:
                    problems.append("%s: %s needs %d items" % (layout, name, count))
        enabled = [n for n in ("play", "pause")
                   if names.get(n) and names[n][0].attrib.get("enabled") != "false"]
        if len(enabled) != 1:
            problems.append("%s: exactly one of play/pause must be enabled" % layout)
    return problems


def layouts():
    for folder in ("skin", "skin_classic"):
        for base, _, files in os.walk(os.path.join(DATA, folder)):
            for f in sorted(files):
                if f.endswith(".xml"):
                    yield os.path.join(base, f)


def check_layouts(data=DATA):
    problems = []
    for layout in layouts():
        problems += check_file(layout)
    return problems


if __name__ == "__main__":
    found = check_layouts()
    for p in found:
        print(p)
    print("%d layouts checked, %d problems" % (len(list(layouts())), len(found)))
    sys.exit(1 if found else 0)
