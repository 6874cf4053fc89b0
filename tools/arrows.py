#!/usr/bin/env python3
"""Checks the program's arrows: no include runs up a floor, and no files call each other.

Includes are read from the sources; calls (and uses of another file's data) from the symbols
of the win64 build's objects, so a call through an inline function or a macro counts where it
lands. Prints what breaks the rules and exits 1 when anything does.
Usage: tools/arrows.py [BUILD_DIR]   (default build/win64, built first)
"""
import os
import re
import subprocess
import sys

FLOORS = {"support": 0, "resources": 0, "location": 1, "astro": 2, "display": 3,
          "dialogs": 4, "help": 4, "shell": 5}
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def program_files():
    for folder in FLOORS:
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if name.endswith((".cpp", ".h")):
                yield folder + "/" + name


def upward_includes():
    found = []
    for path in program_files():
        with open(os.path.join(ROOT, path), encoding="latin-1") as f:
            for line in f:
                m = re.match(r'\s*#\s*include\s+"([a-z_]+)/', line)
                if m and m.group(1) in FLOORS and FLOORS[m.group(1)] > FLOORS[path.split("/")[0]]:
                    found.append(f"{path} includes {line.split()[-1]}")
    return found


def symbols(build):
    """Each object's defined and undefined symbols, by source file."""
    defined, wanted = {}, {}
    for lib in ("orvane_core", "orvane_shell"):
        top = os.path.join(build, "CMakeFiles", lib + ".dir")
        for dirpath, _, names in os.walk(top):
            for name in names:
                if not name.endswith(".obj"):
                    continue
                obj = os.path.join(dirpath, name)
                source = os.path.relpath(obj, top)[:-len(".obj")]
                out = subprocess.run(["x86_64-w64-mingw32-nm", obj], capture_output=True,
                                     text=True, check=True).stdout
                defined[source], wanted[source] = set(), set()
                for line in out.splitlines():
                    parts = line.split()
                    if len(parts) == 2 and parts[0] == "U":
                        wanted[source].add(parts[1])
                    elif len(parts) == 3 and parts[1] in "TDBR":
                        defined[source].add(parts[2])
    return defined, wanted


def call_circles(build):
    defined, wanted = symbols(build)
    owner = {s: f for f, syms in defined.items() for s in syms}
    edges = {f: {owner[s] for s in syms if s in owner and owner[s] != f}
             for f, syms in wanted.items()}
    found = []
    for a in sorted(edges):
        for b in sorted(edges[a]):
            if a < b and a in edges.get(b, ()):
                found.append(f"{a} and {b} call each other")
    # Longer circles: a file that reaches itself again through others.
    for start in sorted(edges):
        seen, todo = set(), list(edges[start])
        while todo:
            f = todo.pop()
            if f == start:
                found.append(f"{start} reaches itself through other files")
                break
            if f not in seen:
                seen.add(f)
                todo.extend(edges.get(f, ()))
    return found


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "win64")
    problems = upward_includes() + call_circles(build)
    for p in problems:
        print(p)
    print(f"arrows: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
