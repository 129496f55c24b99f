#!/usr/bin/python3
"""The station's rule of dependence: a folder includes only from its own floor
and the floors below it (docs/architecture.md), and logic never includes forms
(widgets/, views/, shell/ and every forms/ folder). Prints every include that
breaks it; exit status 1 when there is one."""
import os
import re
import sys

FLOORS = [["base"], ["plant"], ["support"], ["widgets"], ["alarms"], ["link"], ["plantlink"],
          ["tools", "trend", "parameters", "diagnosis", "pictures"], ["views"], ["shell"]]
FORMS_FLOORS = {"widgets", "views", "shell"}


def floor_of(path):
    top = path.split("/")[0]
    for n, names in enumerate(FLOORS):
        if top in names:
            return n
    return None


def is_forms(path):
    parts = path.split("/")
    return parts[0] in FORMS_FLOORS or "forms" in parts[1:-1]


def allowed(source, target):
    s, t = floor_of(source), floor_of(target)
    if s is None or t is None:
        return True
    if is_forms(target) and not is_forms(source):
        return False  # logic never includes forms
    return t <= s


def main(root):
    station = os.path.join(root, "station")
    bad = []
    for dirpath, _, files in os.walk(station):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, station)
            with open(path, encoding="utf-8") as f:
                for line in f:
                    m = re.match(r'#include "([^"]+)"', line)
                    if m and not allowed(rel, m.group(1)):
                        bad.append(f"{rel}: {m.group(1)}")
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
