#!/usr/bin/env python3
"""Checks that the source folders include one another one way only.

Each folder may include its own files and those of the folders before it in
LAYERS, never those of a folder after it; so no two folders include each
other, directly or round about. Prints every include that breaks the order,
with its file and line, and exits 1 when there is one."""
import pathlib
import re
import sys

# Lowest first.
LAYERS = ["base", "io", "html", "model", "standard", "settings", "stats", "db", "pages", "results", "run",
          "fleet", "app"]

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
rank = {name: i for i, name in enumerate(LAYERS)}
include = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')
broken = []
for folder in LAYERS:
    sources = sorted((root / folder).glob("*.h")) + sorted((root / folder).glob("*.cpp"))
    if not sources:
        broken.append(f"{folder}/: no sources (a folder of LAYERS is gone: update the list)")
    for source in sources:
        for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
            match = include.match(line)
            if match and match.group(1) in rank and rank[match.group(1)] > rank[folder]:
                broken.append(f"{source.relative_to(root)}:{number}: {folder}/ includes {match.group(1)}/, "
                              f"which comes after it")
# A source folder that the list does not know is outside the check.
for path in sorted(root.iterdir()):
    if path.is_dir() and path.name not in rank and any(path.glob("*.cpp")) and path.name not in (
            "tests", "tools", "bench"):
        broken.append(f"{path.name}/: a source folder that LAYERS does not place")
for line in broken:
    print(line)
sys.exit(1 if broken else 0)
