#!/usr/bin/env python3
"""Prints the working folder ("Start in") of a Windows shortcut (.lnk), empty when it has none.

Usage: shortcut_folder.py FILE.lnk
The shell link format: a 76-byte header whose flags say which parts follow, an optional item-ID list
and link information, then the strings in a fixed order: name, relative path, working folder, ...
"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR = 0x1, 0x2, 0x4, 0x8, 0x10
IS_UNICODE = 0x80


def working_folder(data):
    if len(data) < 76 or struct.unpack_from("<I", data, 0)[0] != 0x4C:
        raise ValueError("not a shell link")
    flags = struct.unpack_from("<I", data, 20)[0]
    at = 76
    if flags & HAS_ID_LIST:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & HAS_LINK_INFO:
        at += struct.unpack_from("<I", data, at)[0]
    unit = 2 if flags & IS_UNICODE else 1
    for part in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if not flags & part:
            continue
        count = struct.unpack_from("<H", data, at)[0]
        text = data[at + 2:at + 2 + count * unit]
        at += 2 + count * unit
        if part == HAS_WORKING_DIR:
            return text.decode("utf-16-le" if unit == 2 else "mbcs" if sys.platform == "win32" else "latin-1")
    return ""


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        print(working_folder(f.read()))
