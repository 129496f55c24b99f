#!/usr/bin/python3
"""The station's rule of dependence: a folder includes only from its own floor
and the floors below it (docs/architecture.md). A forms/ folder of a logic
floor may also use widgets/. Prints every include that points up; exit status 1
when there is one."""
import os
import re
import sys

LOGIC = [["base"], ["plant"], ["support"], ["alarms"], ["link"], ["tools", "trend", "parameters", "diagnosis"]]
FORMS = [["widgets"], ["views"], ["shell"]]


def floor_of(path):
    """(stack, floor number) of a station-relative path; forms/ folders sit in
    the forms stack below widgets, at their subsystem's logic floor."""
    parts = path.split("/")
    top = parts[0]
    for n, names in enumerate(LOGIC):
        if top in names:
            return ("forms", -len(LOGIC) + n) if "forms" in parts[1:-1] else ("logic", n)
    for n, names in enumerate(FORMS):
        if top in names:
            return ("forms", n)
    return None


def allowed(source, target):
    s, t = floor_of(source), floor_of(target)
    if s is None or t is None:
        return True
    if t[0] == "logic":
        # Logic is below every forms floor; within logic only downwards.
        limit = s[1] if s[0] == "logic" else (s[1] + len(LOGIC) if s[1] < 0 else len(LOGIC))
        return t[1] <= limit
    if s[0] == "logic":
        return False  # logic never includes forms
    if t[1] < 0 and s[1] < 0:
        return t[1] <= s[1]
    return t[1] <= s[1] or (t[1] == 0 and s[1] < 0)  # forms/ folders may use widgets/


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
