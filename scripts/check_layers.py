#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layers, lowest first: storage < analysis, download < ui < pages < app. A file may include headers
of its own layer and of the layers below it; analysis and download stand side by side and do not
include each other. Tests, benchmarks and fuzz targets sit above the layer they exercise and are
checked only in that app/ stays out of reach of everything but app/ and the window tests.

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
    # Above the layers: only the tests that drive the whole window may know the shell.
    for folder in ("tests/storage", "tests/analysis", "tests/download", "tests/support", "bench", "fuzz"):
        for path in sources(os.path.join(top, folder)):
            for number, target, line in includes(path):
                if target in ("ui", "pages", "app"):
                    faults.append("%s:%d: %s (%s tests the core only)" % (path, number, line, folder))
    for fault in faults:
        print(fault)
    if faults:
        print("%d include(s) point up a layer" % len(faults))
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
