#!/usr/bin/env python3
"""Checks that every include runs down the layers of layers.txt.

A file of a layer may include its own layer's headers and those of the
layers its layer uses, directly or through them. Only layers marked
"window" may include GL, GLUT or ImGui headers. Tools may include any layer
but the program's own (app), and the tools' own libraries; benchmarks any
layer; tests anything. And the data set's loader is the only opener of
option files: no other part of the program reads one by itself.

    tools/layering.py [ROOT]     (ROOT: the source tree, the script's by default)

Prints each fault as "file:line: reason" and exits with 1 when there is one.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
WINDOW_HEADER = re.compile(r"^(GL/|GLFW/|imgui|backends/imgui)")
SOURCE = (".cpp", ".h", ".c")
# Who may open an option file: the data set's loader, and the reader of
# kalimbrax-arm's data sheets (a file of the same grammar, not of a data set).
OPTION_FILE_OPENER = "COptionsParser::ReadFile"
MAY_OPEN_OPTION_FILES = ("config/", "dataset/DataSet.cpp", "tools/arm/ArmDataSheet.cpp", "tests/")


def read_layers(root):
    layers = {}
    with open(os.path.join(root, "layers.txt"), encoding="utf-8") as table:
        for line in table:
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            name, uses = words[0], [w for w in words[1:] if w != "window"]
            for used in uses:
                if used not in layers:
                    raise SystemExit("layers.txt: %s uses %s, which is not listed above it" % (name, used))
            layers[name] = {"uses": uses, "window": "window" in words[1:]}
    for name, layer in layers.items():
        below, todo = set(), list(layer["uses"])
        while todo:
            used = todo.pop()
            if used not in below:
                below.add(used)
                todo.extend(layers[used]["uses"])
        layer["below"] = below
    return layers


def sources(root):
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        dirs[:] = [d for d in dirs if not d.startswith((".", "build"))]
        for name in files:
            if name.endswith(SOURCE):
                yield os.path.normpath(os.path.join(rel, name))


def allowed(path, target, layers):
    """Why `path` may not include the project header `target`, or None."""
    top = path.split(os.sep)[0]
    target_top = target.split("/")[0]
    if top == "tests":
        return None
    if top in layers:
        if target_top == top or target_top in layers[top]["below"]:
            return None
        if target_top in layers:
            return "la couche %s n'utilise pas la couche %s (layers.txt)" % (top, target_top)
        return "une couche n'inclut que des couches : %s" % target_top
    if top == "tools":
        if target_top == "tools" or (target_top in layers and target_top != "app"):
            return None
        return "un outil n'inclut que les couches sous app/ et les outils"
    if top == "bench":
        if target_top in layers or target_top == "bench":
            return None
        return "les mesures n'incluent que les couches et bench/"
    return None


def check(root):
    layers = read_layers(root)
    faults = []
    for path in sorted(sources(root)):
        top = path.split(os.sep)[0]
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            text = source.read()
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, target = match.groups()
            if WINDOW_HEADER.match(target):
                if top in layers and not layers[top]["window"]:
                    faults.append("%s:%d: %s : un en-tête de GL, GLUT ou ImGui hors des couches « window »"
                                  % (path, number, target))
                continue
            if quote == '"' and "/" in target:
                reason = allowed(path, target, layers)
                if reason:
                    faults.append("%s:%d: #include \"%s\" : %s" % (path, number, target, reason))
        if OPTION_FILE_OPENER in text and not path.replace(os.sep, "/").startswith(MAY_OPEN_OPTION_FILES):
            faults.append("%s: %s : seul le chargement du jeu de données (LoadDataSet) ouvre les fichiers d'options"
                          % (path, OPTION_FILE_OPENER))
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
