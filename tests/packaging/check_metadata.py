#!/usr/bin/env python3
"""The menu entry, the software-centre metadata and the icon agree.

Validators check each file on its own; this checks what ties them together:
one application id names the desktop file, the metainfo, its launchable and
the icon; the newest release is the project's version; every screenshot the
metainfo shows is a file in docs/screenshots; the Russian texts are there.
Exits non-zero with one line per fault.
"""
import argparse
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

APP_ID = "ru.toravel.Toravel"
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def desktop_keys(path):
    """The keys of the [Desktop Entry] group, as a dict."""
    keys, group = {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("["):
            group = line.strip()
        elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
            key, value = line.split("=", 1)
            keys[key.strip()] = value.strip()
    return keys


def release_key(version):
    return tuple(int(part) for part in version.split("."))


def check(packaging, docs, version):
    faults = []
    desktop_in = packaging / f"{APP_ID}.desktop.in"
    metainfo = packaging / f"{APP_ID}.metainfo.xml"
    for needed in (desktop_in, metainfo, packaging / f"{APP_ID}.svg"):
        if not needed.is_file():
            faults.append(f"missing {needed}")
    if faults:
        return faults

    entry = desktop_keys(desktop_in)
    if entry.get("Icon") != APP_ID:
        faults.append(f"desktop Icon={entry.get('Icon')!r}, the icon is {APP_ID}.svg")
    for key in ("Name[ru]", "Comment[ru]", "Path", "Exec"):
        if not entry.get(key):
            faults.append(f"desktop entry lacks {key}")
    if not entry.get("Exec", "").startswith("@TORAVEL_DESKTOP_BIN_DIR@/"):
        faults.append(f"desktop Exec={entry.get('Exec')!r} does not name the installed launcher")
    if entry.get("Path") != "@TORAVEL_DESKTOP_DATA_DIR@":
        faults.append(f"desktop Path={entry.get('Path')!r} is not the data directory")

    root = ET.parse(metainfo).getroot()
    if root.findtext("id") != APP_ID:
        faults.append(f"metainfo id {root.findtext('id')!r} is not {APP_ID}")
    launchable = root.findtext("launchable")
    if launchable != f"{APP_ID}.desktop":
        faults.append(f"metainfo launchable {launchable!r} is not {APP_ID}.desktop")
    for tag in ("name", "summary"):
        langs = {e.get(XML_LANG) for e in root.findall(tag)}
        if not {None, "ru"} <= langs:
            faults.append(f"metainfo {tag} needs an English and a Russian text, has {sorted(map(str, langs))}")

    releases = root.findall("releases/release")
    if not releases:
        faults.append("metainfo has no release")
    else:
        versions = [r.get("version", "") for r in releases]
        if versions[0] != version:
            faults.append(f"newest release {versions[0]!r} is not the project's version {version!r}")
        try:
            if versions != sorted(versions, key=release_key, reverse=True):
                faults.append(f"releases are not newest first: {versions}")
        except ValueError:
            faults.append(f"a release version is not numeric: {versions}")
        for r in releases:
            if not re.fullmatch(r"\d{4}-\d{2}-\d{2}", r.get("date", "")):
                faults.append(f"release {r.get('version')} has no ISO date")

    for image in root.iter("image"):
        name = (image.text or "").rsplit("/", 1)[-1]
        if not (docs / "screenshots" / name).is_file():
            faults.append(f"screenshot {image.text} is not in docs/screenshots")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--packaging", type=pathlib.Path, required=True)
    parser.add_argument("--docs", type=pathlib.Path, required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    faults = check(args.packaging, args.docs, args.version)
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
