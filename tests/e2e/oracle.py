"""The hand-typed oracle of tests/support (designs.txt, catalogue.txt), read as the windows' tests
read it: one record a line, fields separated by tabs. The format is described at the top of
each file."""

import os
import re

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SUPPORT = os.path.join(ROOT, "tests", "support")


def load_maker(path=os.path.join(ROOT, "product", "maker.h")):
    """The maker's contact values, defined once for both programs: {"EMAIL": ..., ...}."""
    return {m.group(1): m.group(2) for m in
            re.finditer(r'#define TAVRIX_MAKER_(\w+) L"([^"]*)"', open(path, encoding="utf-8").read())}


MAKER = load_maker()


def text(field):
    """A text field with its escapes and placeholders resolved."""
    def resolve(m):
        if m.group(1):
            escape = m.group(1)[1:]
            return chr(int(escape[1:], 16)) if escape[0] == "u" else {"r": "\r", "n": "\n", "t": "\t"}.get(escape, escape)
        if m.group(2):
            return " " * int(m.group(2))
        return MAKER[m.group(3).upper()]
    return re.sub(r"(\\u[0-9A-Fa-f]{4}|\\.)|\{(\d+) spaces\}|\{([a-z_]+)\}", resolve, field)


def _records(name):
    for line in open(os.path.join(SUPPORT, name), encoding="utf-8").read().split("\n"):
        if line and not line.startswith("#"):
            yield line.split("\t")


def load_catalogue_oracle():
    """The hand-typed rows: (key, fixed description or None) for positions 1 to 268."""
    rows = []
    for position, key, description in _records("catalogue.txt"):
        if int(position) != len(rows) + 1:
            raise ValueError("catalogue.txt has row %s where %d belongs" % (position, len(rows) + 1))
        rows.append((text(key), None if description == "~" else text(description)))
    if len(rows) != 268:
        raise ValueError("catalogue.txt should have 268 rows, read %d" % len(rows))
    return rows


def load_designs():
    """Each window's records that the model needs: {window: {"value": {name: number or text},
    "control": [[name, kind, left, top, width, height, caption or None, shown] + [container]],
    "tip", "answer": [(name, text)], "tab": [name]}}."""
    windows = {}
    for window, record, *fields in _records("designs.txt"):
        design = windows.setdefault(window, {"value": {}, "control": []})
        if record == "value":
            design["value"][fields[0]] = int(fields[1]) if fields[1].isdigit() else text(fields[1])
        elif record == "control":
            name, kind, *place, shown, caption = fields[:8]
            design["control"].append([name, kind, *map(int, place), None if caption == "~" else text(caption),
                                      shown == "yes", *fields[8:]])
        elif record == "tab":
            design["tab"] = fields
        elif record in ("tip", "answer"):
            design.setdefault(record, []).append((fields[0], text(fields[1])))
    return windows
