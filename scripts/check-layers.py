#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer its own layer may not use.

The allowed direction is the table in scripts/layers.txt. Every C++ file of the tree must sit in a
folder the table names; a portable layer must include no Windows header.
Usage: check-layers.py [SOURCE_DIR]
"""
import os
import re
import sys

WINDOWS_HEADERS = {"windows.h", "windowsx.h", "shellapi.h", "commctrl.h", "mmsystem.h", "winnetwk.h",
                   "shlobj.h", "objbase.h", "psapi.h", "winuser.h", "wingdi.h"}
SOURCE_ENDINGS = (".h", ".hpp", ".cpp", ".cc", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def read_table(path):
    layers = {}
    with open(path, encoding="utf-8") as table:
        for line in table:
            words = line.split("#", 1)[0].split()
            if words:
                layers[words[0]] = set(words[1:])
    return layers


def layer_of(path, layers):
    """The longest folder of the table that holds the path, or None."""
    best = None
    for folder in layers:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    layers = read_table(os.path.join(root, "scripts", "layers.txt"))
    faults = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if not d.startswith(".") and d != "build")
        for name in sorted(files):
            if not name.endswith(SOURCE_ENDINGS):
                continue
            path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
            own = layer_of(path, layers)
            if own is None:
                faults.append(f"{path}: its folder is no layer of scripts/layers.txt")
                continue
            allowed = layers[own]
            if "*" in allowed:
                continue
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, header = match.groups()
                    if kind == "<":
                        if "portable" in allowed and header.lower() in WINDOWS_HEADERS:
                            faults.append(f"{path}:{number}: the portable layer {own} includes <{header}>")
                        continue
                    # A header beside the file may be named relative to it.
                    beside = os.path.normpath(os.path.join(os.path.dirname(path), header)).replace(os.sep, "/")
                    if os.path.isfile(os.path.join(root, beside)):
                        header = beside
                    target = layer_of(header, layers)
                    if target is None:
                        faults.append(f"{path}:{number}: \"{header}\" is not named from the source root")
                    elif target != own and target not in allowed:
                        faults.append(f"{path}:{number}: layer {own} may not include {header} (layer {target})")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) break the layering of scripts/layers.txt")
        return 1
    print("layering: every include runs down the layers of scripts/layers.txt")
    return 0


if __name__ == "__main__":
    sys.exit(main())
