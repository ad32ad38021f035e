#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer its own layer may not use, or when the
modules of one layer include each other in a loop.

The allowed direction is the table in scripts/layers.txt. Every C++ file of the tree must sit in a
folder the table names; a portable layer must include no Windows header. Inside a layer a module
(a header and its source file, X.h with X.cpp) may use another only if that one does not use it
back, directly or through others.
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


def module_of(path):
    return os.path.splitext(path)[0]


def loops(uses):
    """The groups of modules that reach each other (Tarjan's strongly connected components)."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(start):
        # Iterative, so that no chain of includes is too long for it.
        work = [(start, iter(sorted(uses.get(start, ()))))]
        index[start] = low[start] = len(index)
        stack.append(start)
        on_stack.add(start)
        while work:
            module, targets = work[-1]
            advanced = False
            for target in targets:
                if target not in index:
                    index[target] = low[target] = len(index)
                    stack.append(target)
                    on_stack.add(target)
                    work.append((target, iter(sorted(uses.get(target, ())))))
                    advanced = True
                    break
                if target in on_stack:
                    low[module] = min(low[module], index[target])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[module])
            if low[module] == index[module]:
                group = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    group.append(member)
                    if member == module:
                        break
                if len(group) > 1:
                    groups.append(sorted(group))

    for module in sorted(uses):
        if module not in index:
            visit(module)
    return sorted(groups)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    layers = read_table(os.path.join(root, "scripts", "layers.txt"))
    faults = []
    uses = {}  # module -> the modules of its own layer it includes
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
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, header = match.groups()
                    if kind == "<":
                        if "*" in allowed:
                            continue
                        if "portable" in allowed and header.lower() in WINDOWS_HEADERS:
                            faults.append(f"{path}:{number}: the portable layer {own} includes <{header}>")
                        continue
                    # A header beside the file may be named relative to it.
                    beside = os.path.normpath(os.path.join(os.path.dirname(path), header)).replace(os.sep, "/")
                    if os.path.isfile(os.path.join(root, beside)):
                        header = beside
                    target = layer_of(header, layers)
                    if target == own and module_of(header) != module_of(path):
                        uses.setdefault(module_of(path), set()).add(module_of(header))
                    if "*" in allowed:
                        continue
                    if target is None:
                        faults.append(f"{path}:{number}: \"{header}\" is not named from the source root")
                    elif target != own and target not in allowed:
                        faults.append(f"{path}:{number}: layer {own} may not include {header} (layer {target})")
    for group in loops(uses):
        faults.append("modules include each other in a loop: " + ", ".join(group))
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} fault(s) in the layering of scripts/layers.txt")
        return 1
    print("layering: every include runs down the layers of scripts/layers.txt, with no loop inside one")
    return 0


if __name__ == "__main__":
    sys.exit(main())
