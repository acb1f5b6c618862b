#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layers, lowest first: storage < analysis, download < ui < pages < app. A file may include headers
of its own layer and of the layers below it; analysis and download stand side by side and do not
include each other. Tests, benchmarks and fuzz targets may include the layer they exercise and those
below it, never one above; only the window's tests (tests/gui) reach the pages and the shell.

Usage: check_layers.py [SOURCE_ROOT]   (default: the repository this script is in)
"""
import os
import re
import sys

RANK = {"storage": 0, "analysis": 1, "download": 1, "ui": 2, "pages": 3, "app": 4}
INCLUDE = re.compile(r'\s*#\s*include\s+"([a-z_]+)/')


def includes(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m and m.group(1) in RANK:
                yield number, m.group(1), line.strip()


def sources(folder):
    for root, _, files in os.walk(folder):
        for name in sorted(files):
            if name.endswith((".h", ".cpp")):
                yield os.path.join(root, name)


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    faults = []
    for layer, rank in RANK.items():
        for path in sources(os.path.join(top, "src", layer)):
            for number, target, line in includes(path):
                if target != layer and RANK[target] >= rank:
                    faults.append("%s:%d: %s (layer %s may not include %s/)" % (path, number, line, layer, target))
    # Above the layers: the tests of a layer stay below the layers above it; only the tests that drive
    # the whole window (tests/gui) may know the pages and the shell.
    above_core = ("ui", "pages", "app")
    limits = {"tests/storage": above_core, "tests/analysis": above_core, "tests/download": above_core,
              "tests/support": above_core, "bench": above_core, "fuzz": above_core,
              "tests/ui": ("pages", "app")}
    for folder, forbidden in limits.items():
        for path in sources(os.path.join(top, folder)):
            for number, target, line in includes(path):
                if target in forbidden:
                    faults.append("%s:%d: %s (%s may not include %s/)" % (path, number, line, folder, target))
    for fault in faults:
        print(fault)
    if faults:
        print("%d include(s) point up a layer" % len(faults))
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
