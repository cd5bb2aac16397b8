"""The resource scripts that compile the icons and style bitmaps into the program.

They are committed source files (resources/icons.rc, resources/styles.rc). The generator writes
them only on request and otherwise checks that they still list exactly what it produces.
"""

import os
import re

import style_catalog
from icons import ICONS

HEADER = ("// Written by tools/artwork/generate.py --write-rc from its own tables; the pictures are\n"
          "// generated into the artwork folder, which the resource compiler has on its include path.\n")

_LINE = re.compile(r'^\s*(\w+)\s+(ICON|BITMAP)\s+"([^"]+)"\s*$')


def icon_entries():
    return [(name, "ICON", f"icons/{name}.ico") for name, *_ in ICONS]


def style_entries():
    return [(name, "BITMAP", f"styles/{name}.bmp") for name in style_catalog.names()]


def script_text(entries):
    return HEADER + "".join(f'{name} {kind} "{path}"\n' for name, kind, path in entries)


def parse(text):
    """The (name, kind, path) entries of a resource script; other lines are ignored."""
    return [m.groups() for m in map(_LINE.match, text.splitlines()) if m]


def scripts(resource_dir):
    return {os.path.join(resource_dir, "icons.rc"): icon_entries(),
            os.path.join(resource_dir, "styles.rc"): style_entries()}


def write(resource_dir):
    for path, entries in scripts(resource_dir).items():
        with open(path, "w", newline="\n") as f:
            f.write(script_text(entries))


def mismatches(resource_dir):
    """Human-readable differences between the committed scripts and the generator's tables."""
    problems = []
    for path, expected in scripts(resource_dir).items():
        if not os.path.isfile(path):
            problems.append(f"{path} is missing")
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            found = parse(f.read())
        if found != expected:
            missing = [e[0] for e in expected if e not in found]
            extra = [e[0] for e in found if e not in expected]
            detail = []
            if missing:
                detail.append("missing " + ", ".join(missing))
            if extra:
                detail.append("unexpected " + ", ".join(extra))
            if not detail:
                detail.append("entries in a different order")
            problems.append(f"{path}: " + "; ".join(detail))
    return problems
