#!/usr/bin/env python3
"""Says what the linked installer is made of, from the GNU ld map of its link: the bytes of
code and data (debug sections left out) each library and each object brings, largest first.
Usage: dist-map-summary.py MAP [TOP]"""
import re
import sys
from collections import defaultdict
from pathlib import Path

ENTRY = re.compile(r"^ (\.[^\s]+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")


def contributions(map_text):
    """(input section, size, file) of every input section kept in the output."""
    kept = map_text.split("Linker script and memory map", 1)[-1]
    pending = None  # a long section name stands on a line of its own
    for line in kept.splitlines():
        if re.match(r"^ \.[^\s]+$", line):
            pending = line.strip()
            continue
        m = ENTRY.match(line)
        if m and (m.group(1) or pending):
            section = m.group(1) or pending
            yield section, int(m.group(3), 16), m.group(4).strip()
        pending = None


def owner(path):
    """The library (archive) an object came from, else the object itself."""
    m = re.match(r"^(.*?)([^/]+\.a)\((.*)\)$", path)
    if m:
        return m.group(2), f"{m.group(2)}({m.group(3)})"
    name = Path(path).name
    return name, name


def main():
    text = Path(sys.argv[1]).read_text(errors="replace")
    top = int(sys.argv[2]) if len(sys.argv) > 2 else 12
    libraries, objects = defaultdict(int), defaultdict(int)
    total = 0
    for section, size, path in contributions(text):
        if section.startswith((".debug", ".stab", ".gnu_debuglink")) or size == 0:
            continue
        library, obj = owner(path)
        libraries[library] += size
        objects[obj] += size
        total += size
    print(f"  code and data linked in: {total} bytes; by library or object:")
    for name, size in sorted(libraries.items(), key=lambda kv: -kv[1])[:top]:
        print(f"    {size:9d}  {name}")
    print("  largest objects:")
    for name, size in sorted(objects.items(), key=lambda kv: -kv[1])[:top]:
        print(f"    {size:9d}  {name}")


if __name__ == "__main__":
    main()
